#include "command_line_win32.h"

#include <shellapi.h>
#include <string.h>
#include <wchar.h>

bool IsSoleOption(const WCHAR* commandLine, const WCHAR* option)
{
    int count = 0;
    WCHAR** arguments = CommandLineToArgvW(commandLine, &count);
    if (arguments == NULL) return false;
    const bool sole = count == 2 && wcscmp(arguments[1], option) == 0;
    LocalFree(arguments);
    return sole;
}

void SayToStarter(const char* text)
{
    HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    bool console = false;
    if ((out == NULL || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                          OPEN_EXISTING, 0, NULL);
        console = true;
    }
    if (out == NULL || out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, text, static_cast<DWORD>(strlen(text)), &written, NULL);
    if (console) CloseHandle(out);
}
