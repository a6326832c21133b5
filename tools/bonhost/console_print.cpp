#include "console_print.h"

#include <stdarg.h>

extern "C" int __cdecl _vsnprintf(char* buffer, size_t size, const char* format, va_list args);

namespace {

void PrintTo(DWORD handle, const char* format, va_list args) {
    char text[2048];
    const int length = _vsnprintf(text, sizeof text - 1, format, args);
    DWORD written = 0;
    WriteFile(GetStdHandle(handle), text, length < 0 ? DWORD(sizeof text - 1) : DWORD(length),
              &written, nullptr);
}

}  // namespace

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    PrintTo(STD_OUTPUT_HANDLE, format, args);
    va_end(args);
}

void PrintError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    PrintTo(STD_ERROR_HANDLE, format, args);
    va_end(args);
}

const char* Utf8(const WCHAR* text) {
    static char buffer[4 * MAX_PATH];
    if (!WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr))
        buffer[0] = 0;
    return buffer;
}
