// desktoprun: runs a program on a window station and desktop of its own, as a recording
// service starts its tuner process, and waits for its end.
//
// Usage: desktoprun STATION\DESKTOP PROGRAM [ARGUMENTS...]
// The program's standard handles are this one's. Exit status: the program's, 1 when the
// window station, the desktop or the program could not be made or started, 2 on a usage error.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "private_desktop.h"

namespace {

// The rest of this program's own command line from its second argument on, as typed.
const WCHAR* AfterTwoArguments(const WCHAR* line)
{
    for (int skip = 0; skip < 2; ++skip) {
        bool quoted = false;
        while (*line != 0 && (quoted || (*line != L' ' && *line != L'\t'))) {
            if (*line == L'"') quoted = !quoted;
            ++line;
        }
        while (*line == L' ' || *line == L'\t') ++line;
    }
    return line;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring target = argc >= 3 ? argv[1] : L"";
    const size_t slash = target.find(L'\\');
    if (slash == std::wstring::npos || slash == 0 || slash + 1 == target.size()) {
        fputs("usage: desktoprun STATION\\DESKTOP PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    PrivateDesktop desktop;
    if (!desktop.Create(target.substr(0, slash), target.substr(slash + 1))) {
        fprintf(stderr, "desktoprun: cannot make %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    std::wstring place = desktop.Path();
    std::wstring commandLine = AfterTwoArguments(GetCommandLineW());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = &place[0];
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                        &process)) {
        fprintf(stderr, "desktoprun: cannot start %ls (error %lu)\n", argv[2], GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}
