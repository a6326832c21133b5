// setup_probe SOURCE HOST [ARGS...] [-- PROGRAM [ARGS...]]
// Starts HOST (a console host loading a driver), waits until an announcement window of the
// source SOURCE carries a time and prints "announcement: TEXT". Then, if given, runs PROGRAM
// while the host still has the driver loaded, prints "while hosted: exit N" and ends the host;
// otherwise it waits for the host and prints "host: exit N". Exit status 0 once the
// announcement was seen, 1 when it was not.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "announce_name.h"
#include "announce_text.h"

namespace {

constexpr DWORD PatienceMsec = 60000;

std::wstring CommandLine(wchar_t** first, wchar_t** last)
{
    std::wstring line;
    for (wchar_t** arg = first; arg != last; ++arg) {
        line += (line.empty() ? L"\"" : L" \"") + std::wstring(*arg) + L"\"";
    }
    return line;
}

HANDLE Start(std::wstring line)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD ExitCode(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process, PatienceMsec);
    GetExitCodeProcess(process, &code);
    return code;
}

// A time record of `source` among the announcement windows.
bool FindAnnouncement(const std::wstring& source, std::wstring& text)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, nullptr))) {
        wchar_t record[AnnounceTextCapacity] = {};
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, AnnounceTextCapacity, LPARAM(record),
                                 SMTO_ABORTIFHUNG, 1000, &length)) {
            continue;
        }
        text = record;
        if (text.compare(0, 11, L"QUELLAP Y33") == 0 && text.size() > AnnounceTimeNamePos &&
            text.substr(AnnounceTimeNamePos) == source) {
            return true;
        }
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return 2;
    wchar_t** split = argv + 2;
    while (split != argv + argc && lstrcmpW(*split, L"--") != 0) ++split;
    const HANDLE host = Start(CommandLine(argv + 2, split));
    if (!host) return 1;
    std::wstring text;
    bool seen = false;
    for (DWORD start = GetTickCount(); !seen && GetTickCount() - start < PatienceMsec;) {
        seen = FindAnnouncement(argv[1], text);
        if (!seen && WaitForSingleObject(host, 50) == WAIT_OBJECT_0) break;
    }
    if (seen) printf("announcement: %ls\n", text.c_str());
    fflush(stdout);
    if (split != argv + argc && seen) {
        const HANDLE program = Start(CommandLine(split + 1, argv + argc));
        printf("while hosted: exit %lu\n", program ? ExitCode(program) : 999ul);
        TerminateProcess(host, 0);
    } else {
        printf("host: exit %lu\n", ExitCode(host));
    }
    return seen ? 0 : 1;
}
