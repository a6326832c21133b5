// A minimal check set for the MSVC-ABI test programs, which have no test framework: every check
// counts, a failed one prints its file and line, and the program's exit code is non-zero when
// any check failed.
#pragma once

#include <windows.h>

// printf-style output to standard output, written at once.
void Print(const char* format, ...);

void CheckFailed(const char* file, int line, const char* expression);
void CheckPassed();
// Prints the totals; the exit code for the program.
int CheckSummary(const char* program);

#define CHECK(condition)                                    \
    ((condition) ? CheckPassed() : CheckFailed(__FILE__, __LINE__, #condition))

// Integers of up to 64 bits, printed on failure.
void CheckEqualNumbers(const char* file, int line, const char* expression, long long actual,
                       long long expected);
#define CHECK_EQ(actual, expected) \
    CheckEqualNumbers(__FILE__, __LINE__, #actual, (long long)(actual), (long long)(expected))

void CheckEqualText(const char* file, int line, const char* expression, const WCHAR* actual,
                    const WCHAR* expected);
#define CHECK_TEXT(actual, expected) CheckEqualText(__FILE__, __LINE__, #actual, actual, expected)

void CheckEqualStrings(const char* file, int line, const char* expression, const char* actual,
                       const char* expected);
#define CHECK_STR(actual, expected) CheckEqualStrings(__FILE__, __LINE__, #actual, actual, expected)
