#include "relay_platform_win32.h"

#include <userenv.h>
#include <wtsapi32.h>

#include <string>

namespace {

constexpr DWORD PipeBytes = 64 * 1024;
constexpr DWORD ReadBytesPerPoll = PipeBytes;
WCHAR RelayDesktop[] = L"winsta0\\default";

// Closes what it holds on every way out.
struct Handle {
    HANDLE h = NULL;
    ~Handle()
    {
        if (h != NULL && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

class Win32RelayProcess : public RelayProcess {
public:
    Win32RelayProcess(HANDLE process, HANDLE pipe) : Process(process), Pipe(pipe) {}
    ~Win32RelayProcess() override
    {
        CloseHandle(Pipe);
        CloseHandle(Process);
    }

    // An anonymous pipe has no overlapped reads: only what is there already is read.
    void Read(std::vector<uint8_t>& bytes) override
    {
        DWORD available = 0;
        while (bytes.size() < ReadBytesPerPoll &&
               PeekNamedPipe(Pipe, NULL, 0, NULL, &available, NULL) && available > 0) {
            const size_t at = bytes.size();
            bytes.resize(at + available);
            DWORD got = 0;
            if (!ReadFile(Pipe, bytes.data() + at, available, &got, NULL)) got = 0;
            bytes.resize(at + got);
            if (got == 0) return;
        }
    }
    bool HasEnded(DWORD& exitCode) override
    {
        return WaitForSingleObject(Process, 0) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(Process, &exitCode);
    }
    void End() override { TerminateProcess(Process, 0); }

private:
    HANDLE Process;
    HANDLE Pipe;  // the read end
};

bool HasUser(DWORD session)
{
    Handle token;
    return WTSQueryUserToken(session, &token.h) != FALSE;
}

// The service's own program: where it lies only administrators can write.
std::wstring OwnProgram()
{
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// The attribute list that limits what the relay inherits to the pipe's write end.
class InheritOnly {
public:
    explicit InheritOnly(HANDLE handle) : Inherited(handle)
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(NULL, 1, 0, &size);
        Storage.resize(size);
        List = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(Storage.data());
        Ready = InitializeProcThreadAttributeList(List, 1, 0, &size) &&
                UpdateProcThreadAttribute(List, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &Inherited,
                                          sizeof Inherited, NULL, NULL);
    }
    ~InheritOnly()
    {
        if (Ready) DeleteProcThreadAttributeList(List);
    }
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return Ready ? List : NULL; }

private:
    HANDLE Inherited;
    std::vector<uint8_t> Storage;
    LPPROC_THREAD_ATTRIBUTE_LIST List = NULL;
    bool Ready = false;
};

// Starts the relay as the token's user on the session's interactive desktop, its standard
// output the pipe's write end; false with the error.
bool CreateRelay(HANDLE token, HANDLE writeEnd, PROCESS_INFORMATION& started, DWORD& error)
{
    const std::wstring program = OwnProgram();
    std::wstring commandLine = L"\"" + program + L"\" " + RelayArgument;
    InheritOnly inherit(writeEnd);
    LPVOID environment = NULL;
    if (program.empty() || inherit.Get() == NULL ||
        !CreateEnvironmentBlock(&environment, token, FALSE)) {
        error = GetLastError();
        return false;
    }
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.lpDesktop = RelayDesktop;
    startup.StartupInfo.dwFlags =
        STARTF_USESTDHANDLES | STARTF_FORCEOFFFEEDBACK | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdOutput = writeEnd;
    startup.lpAttributeList = inherit.Get();
    const bool created =
        CreateProcessAsUserW(token, program.c_str(), &commandLine[0], NULL, NULL, TRUE,
                             CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT,
                             environment, NULL, &startup.StartupInfo, &started) != FALSE;
    error = created ? 0 : GetLastError();
    DestroyEnvironmentBlock(environment);
    return created;
}

}  // namespace

std::vector<DWORD> Win32RelayPlatform::SignedInSessions()
{
    std::vector<DWORD> sessions;
    WTS_SESSION_INFOW* listed = NULL;
    DWORD count = 0;
    if (WTSEnumerateSessionsW(WTS_CURRENT_SERVER_HANDLE, 0, 1, &listed, &count)) {
        for (DWORD i = 0; i < count; ++i) {
            if (HasUser(listed[i].SessionId)) sessions.push_back(listed[i].SessionId);
        }
        WTSFreeMemory(listed);
    }
    // Wine lists no session at all; its signed-in user is the console's.
    const DWORD console = WTSGetActiveConsoleSessionId();
    if (count == 0 && console != 0xFFFFFFFF && HasUser(console)) sessions.push_back(console);
    return sessions;
}

std::unique_ptr<RelayProcess> Win32RelayPlatform::Start(DWORD session, DWORD& error)
{
    Handle token, readEnd, writeEnd;
    if (!WTSQueryUserToken(session, &token.h) ||
        !CreatePipe(&readEnd.h, &writeEnd.h, NULL, PipeBytes) ||
        !SetHandleInformation(writeEnd.h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        error = GetLastError();
        return nullptr;
    }
    PROCESS_INFORMATION started = {};
    if (!CreateRelay(token.h, writeEnd.h, started, error)) return nullptr;
    CloseHandle(started.hThread);
    std::unique_ptr<RelayProcess> relay(new Win32RelayProcess(started.hProcess, readEnd.h));
    readEnd.h = NULL;  // the relay holds it now
    return relay;
}

// The process is held open while its session is asked, so its id cannot pass to another.
OwnerCheck Win32RelayPlatform::FindOwner(DWORD processId, DWORD session, std::wstring& path)
{
    Handle process;
    process.h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    DWORD itsSession = 0;
    if (process.h == NULL || !ProcessIdToSessionId(processId, &itsSession) ||
        itsSession != session) {
        return OwnerCheck::Refused;
    }
    WCHAR image[ModulePathSize];
    DWORD length = ModulePathSize;
    if (!QueryFullProcessImageNameW(process.h, 0, image, &length) || length >= ModulePathSize - 1) {
        return OwnerCheck::Unknown;
    }
    WCHAR longPath[ModulePathSize];
    length = GetLongPathNameW(image, longPath, ModulePathSize);
    if (length == 0 || length >= ModulePathSize) return OwnerCheck::Unknown;
    path.assign(longPath, length);
    return OwnerCheck::Found;
}
