#include "announcer_process.h"

#include "announce_name.h"

namespace {

constexpr DWORD StartTimeoutMsec = 10000;

HWND WindowOfProcess(DWORD processId)
{
    for (HWND window = FindWindowExW(HWND_MESSAGE, NULL, AnnounceName, NULL); window != NULL;
         window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, NULL)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return NULL;
}

}  // namespace

std::wstring TestProgramDirectory()
{
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\') + 1);
}

std::wstring AnnouncerProgramPath()
{
    const std::wstring path = TestProgramDirectory() + L"announcer.exe";
    WCHAR longPath[MAX_PATH];
    const DWORD length = GetLongPathNameW(path.c_str(), longPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(longPath, length) : path;
}

bool AnnouncerProcess::Launch(const std::wstring& options, const std::wstring& program,
                              const PrivateDesktop* desktop)
{
    Stop();
    const std::wstring eventName = L"QuellapAnnouncerReady" + std::to_wstring(GetCurrentProcessId()) +
                                   L"_" + std::to_wstring(GetTickCount()) + L"_" +
                                   std::to_wstring(reinterpret_cast<uintptr_t>(this));
    const HANDLE ready = CreateEventW(NULL, TRUE, FALSE, eventName.c_str());
    if (ready == NULL) return false;
    std::wstring commandLine =
        L"\"" + program + L"\" --ready " + eventName + L" " + options;
    std::wstring place = desktop != nullptr ? desktop->Path() : L"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (desktop != nullptr) startup.lpDesktop = &place[0];
    const bool started = CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0,
                                        NULL, NULL, &startup, &Process) != FALSE;
    const bool up = started && WaitForSingleObject(ready, StartTimeoutMsec) == WAIT_OBJECT_0;
    CloseHandle(ready);
    if (!up) Stop();
    return up;
}

bool AnnouncerProcess::Start(const std::wstring& options, const std::wstring& program)
{
    if (Launch(options, program, nullptr)) AnnouncerWindow = WindowOfProcess(Process.dwProcessId);
    if (AnnouncerWindow == NULL) Stop();
    return AnnouncerWindow != NULL;
}

bool AnnouncerProcess::StartOnDesktop(const std::wstring& text, const PrivateDesktop& desktop)
{
    return Launch(L"--text \"" + text + L"\"", AnnouncerProgramPath(), &desktop);
}

bool AnnouncerProcess::StartWithText(const std::wstring& text, const std::wstring& moreOptions,
                                     const std::wstring& program)
{
    return Start(moreOptions + L" --text \"" + text + L"\"", program);
}

void AnnouncerProcess::Stop()
{
    if (Process.hProcess != NULL) {
        TerminateProcess(Process.hProcess, 0);
        WaitForSingleObject(Process.hProcess, StartTimeoutMsec);
        CloseHandle(Process.hProcess);
        CloseHandle(Process.hThread);
    }
    Process = {};
    AnnouncerWindow = NULL;
}
