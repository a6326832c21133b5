// Building calendar records and reading FILETIMEs as numbers, for the conversion tests.
#pragma once

#include "win32_types.h"

#include <stdint.h>

inline uint64_t Ticks(const FILETIME& fileTime) {
    return uint64_t(fileTime.dwHighDateTime) << 32 | fileTime.dwLowDateTime;
}

inline SYSTEMTIME Calendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                           int ms = 0, int dayOfWeek = 0) {
    SYSTEMTIME time{};
    time.wYear = WORD(year);
    time.wMonth = WORD(month);
    time.wDayOfWeek = WORD(dayOfWeek);
    time.wDay = WORD(day);
    time.wHour = WORD(hour);
    time.wMinute = WORD(minute);
    time.wSecond = WORD(second);
    time.wMilliseconds = WORD(ms);
    return time;
}
