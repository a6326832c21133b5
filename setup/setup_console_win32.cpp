#include "setup_console_win32.h"

#include <string>

void Win32SetupConsole::Write(bool error, const std::wstring& text)
{
    const HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.data(), DWORD(text.size()), &written, nullptr);
        return;
    }
    const int length = int(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &utf8[0], size, nullptr, nullptr);
    WriteFile(out, utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

bool UserLanguageIsJapanese()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

bool Win32SetupConsole::IsOwn()
{
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

void Win32SetupConsole::WaitForEnter()
{
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0, got = 0;
    if (GetConsoleMode(in, &mode)) {
        wchar_t line[256];
        ReadConsoleW(in, line, 256, &got, nullptr);
        return;
    }
    char c = 0;
    while (ReadFile(in, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
    }
}
