// The few Win32 types and calls that the portable logic uses. On Windows they are the real ones;
// elsewhere (the native test, fuzz and benchmark builds) they are layout-compatible stand-ins,
// and the calls are implemented by native_win32.cpp.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <stdint.h>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef wchar_t WCHAR;  // 32-bit here; the logic treats text as code units either way
typedef void* HANDLE;
typedef struct HWND__* HWND;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// 100-ns units since 1601-01-01.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

// Lock storage; native_win32.cpp keeps a mutex in it, in place.
struct CRITICAL_SECTION {
    alignas(16) unsigned char Storage[64];
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
DWORD GetTickCount();
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
void OutputDebugStringW(const WCHAR* text);
#endif
