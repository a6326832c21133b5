#include "check.h"

#include <stdarg.h>
#include <string.h>

extern "C" int __cdecl _vsnprintf(char* buffer, size_t size, const char* format, va_list args);

namespace {

volatile LONG Passed = 0;
volatile LONG Failed = 0;

void PrintWide(const WCHAR* text) {
    if (!text) {
        Print("(null)");
        return;
    }
    for (; *text; ++text)
        Print(*text >= 0x20 && *text < 0x7F ? "%c" : "\\x%04x", unsigned(*text));
}

void Fail() { InterlockedIncrement(&Failed); }

}  // namespace

// Unbuffered, so that nothing is lost when a test program dies.
void Print(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    const int length = _vsnprintf(text, sizeof text - 1, format, args);
    va_end(args);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text,
              length < 0 ? DWORD(sizeof text - 1) : DWORD(length), &written, nullptr);
}

void CheckPassed() { InterlockedIncrement(&Passed); }

void CheckFailed(const char* file, int line, const char* expression) {
    Fail();
    Print("%s:%d: FAILED: %s\n", file, line, expression);
}

void CheckEqualNumbers(const char* file, int line, const char* expression, long long actual,
                       long long expected) {
    if (actual == expected)
        return CheckPassed();
    Fail();
    Print("%s:%d: FAILED: %s is %I64d (0x%I64x), expected %I64d (0x%I64x)\n", file, line,
          expression, actual, actual, expected, expected);
}

void CheckEqualText(const char* file, int line, const char* expression, const WCHAR* actual,
                    const WCHAR* expected) {
    if (actual && expected && lstrcmpW(actual, expected) == 0)
        return CheckPassed();
    Fail();
    Print("%s:%d: FAILED: %s is \"", file, line, expression);
    PrintWide(actual);
    Print("\", expected \"");
    PrintWide(expected);
    Print("\"\n");
}

void CheckEqualStrings(const char* file, int line, const char* expression, const char* actual,
                       const char* expected) {
    if (actual && expected && strcmp(actual, expected) == 0)
        return CheckPassed();
    Fail();
    Print("%s:%d: FAILED: %s is \"%s\", expected \"%s\"\n", file, line, expression,
          actual ? actual : "(null)", expected ? expected : "(null)");
}

int CheckSummary(const char* program) {
    Print("%s: %ld checks passed, %ld failed\n", program, Passed, Failed);
    return Failed ? 1 : 0;
}
