// setup_probe SOURCE HOST_COMMAND [COMMAND]: starts a console host and prints "announcement: TEXT"
// once an announcement window of SOURCE carries a time; then runs COMMAND while the host has the
// driver loaded ("while hosted: exit N") and ends the host, or waits for it ("host: exit N").
#include <windows.h>

#include <stdio.h>

#include <string>

#include "announce_name.h"
#include "announce_text.h"

namespace {

constexpr DWORD PatienceMsec = 60000;

HANDLE Start(std::wstring line)
{
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

unsigned long ExitCode(HANDLE process)
{
    DWORD code = 999;
    if (process && WaitForSingleObject(process, PatienceMsec) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    }
    return code;
}

// A time record of `source` among the announcement windows.
bool FindAnnouncement(const std::wstring& source, std::wstring& text)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, nullptr))) {
        wchar_t record[AnnounceTextCapacity] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, AnnounceTextCapacity, LPARAM(record),
                            SMTO_ABORTIFHUNG, 1000, &length);
        text = record;
        if (text.compare(0, 9, L"QUELLAP Y") == 0 && text.substr(AnnounceTimeNamePos) == source) {
            return true;
        }
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const HANDLE host = argc >= 3 ? Start(argv[2]) : nullptr;
    std::wstring text;
    bool seen = false;
    for (DWORD start = GetTickCount(); host && !seen && GetTickCount() - start < PatienceMsec;) {
        seen = FindAnnouncement(argv[1], text);
        if (!seen && WaitForSingleObject(host, 50) == WAIT_OBJECT_0) break;
    }
    if (seen) printf("announcement: %ls\n", text.c_str());
    fflush(stdout);
    if (seen && argc > 3) {
        printf("while hosted: exit %lu\n", ExitCode(Start(argv[3])));
        TerminateProcess(host, 0);
    } else {
        printf("host: exit %lu\n", ExitCode(host));
    }
    return seen ? 0 : 1;
}
