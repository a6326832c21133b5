#include "watcher_session.h"

#include "window_peek.h"

std::wstring WatcherProgram;
std::wstring RelayLogPath;

namespace {

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<LONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The private-profile functions read UTF-16 with a byte-order mark.
bool WriteSettings(const std::wstring& path, const std::vector<std::wstring>& settings)
{
    std::wstring text = L"\xFEFF[Horavant]\r\n";
    for (const std::wstring& line : settings) text += line + L"\r\n";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const bool ok = WriteFile(file, text.data(), size, &written, NULL) && written == size;
    CloseHandle(file);
    return ok;
}

std::wstring NewFolder()
{
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int count = 0;
    const std::wstring folder = std::wstring(temp) + L"quellap-gui-" +
                                std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++count);
    CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}

}  // namespace

std::string RelayTraceSince(LONGLONG offset)
{
    const HANDLE file = CreateFileW(RelayLogPath.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                    OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    LARGE_INTEGER at;
    at.QuadPart = offset;
    SetFilePointerEx(file, at, NULL, FILE_BEGIN);
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

void RemoveFolder(const std::wstring& folder)
{
    if (folder.empty()) return;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(50);
    }
    return true;
}

std::wstring LineEndingWith(HWND dialog, const std::wstring& ending)
{
    for (const std::wstring& line : ListLines(dialog)) {
        if (line.size() >= ending.size() &&
            line.compare(line.size() - ending.size(), ending.size(), ending) == 0) {
            return line;
        }
    }
    return std::wstring();
}

WatcherSession::~WatcherSession()
{
    if (Process.hProcess != NULL) {
        if (WaitForExit(0) == STILL_ACTIVE) TerminateProcess(Process.hProcess, 1);
        WaitForSingleObject(Process.hProcess, WindowPatienceMsec);
        CloseHandle(Process.hProcess);
        CloseHandle(Process.hThread);
    }
    RemoveFolder(Folder);
}

bool WatcherSession::Install(const std::vector<std::wstring>& settings,
                             const std::wstring& original)
{
    Folder = NewFolder();
    return CopyFileW(original.c_str(), Program().c_str(), FALSE) &&
           WriteSettings(Folder + L"\\Horavant.ini", settings);
}

bool WatcherSession::Start(const std::vector<std::wstring>& settings, const std::wstring& original)
{
    if (!Install(settings, original)) return false;
    const std::wstring program = Program();
    TraceStart = FileSize(RelayLogPath);
    // Only the watcher is traced; the trace goes to the unix standard error it inherits.
    SetEnvironmentVariableW(L"WINEDEBUG", L"-all,+relay");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const bool started = CreateProcessW(program.c_str(), NULL, NULL, NULL, FALSE, 0, NULL,
                                        Folder.c_str(), &startup, &Process) != FALSE;
    SetEnvironmentVariableW(L"WINEDEBUG", L"-all");
    if (!started) return false;
    WaitForInputIdle(Process.hProcess, WindowPatienceMsec);  // start-up done
    WaitUntil([this] { return (Dialog = FindWatcherWindow(Process.dwProcessId)) != NULL; },
              WindowPatienceMsec);
    return Dialog != NULL;
}

std::wstring WatcherSession::Title() const
{
    return WindowTitle(Dialog);
}

bool WatcherSession::WaitForTitle(const std::wstring& title, DWORD milliseconds)
{
    return WaitUntil([&] { return Title() == title; }, milliseconds);
}

std::vector<RelayCall> WatcherSession::Calls() const
{
    return ParseRelayTrace(RelayTraceSince(TraceStart), Process.dwThreadId);
}

DWORD WatcherSession::WaitForExit(DWORD milliseconds)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(Process.hProcess, milliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(Process.hProcess, &code);
    }
    return code;
}

DWORD WatcherSession::Close()
{
    PostMessageW(Dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitForExit(WindowPatienceMsec);
}
