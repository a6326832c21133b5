// Conversions between calendar time (SYSTEMTIME) and FILETIME (100-ns units since 1601-01-01)
// with the same range checks and results as Windows' SystemTimeToFileTime and
// FileTimeToSystemTime, so that the native builds behave like the real platform.
#pragma once

#include "win32_types.h"

#include <stdint.h>

// The FILETIME as one count of 100-ns units.
inline uint64_t FileTimeValue(const FILETIME& time) {
    return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// Fails (returns false, `fileTime` untouched) for a month outside 1-12, a day the month does
// not have (Gregorian leap years), hour >= 24, minute >= 60, second >= 60, milliseconds >= 1000
// or a year outside 1601-30827. wDayOfWeek is ignored.
bool CalendarToFileTime(const SYSTEMTIME& time, FILETIME& fileTime);

// Fails (returns false, `time` untouched) for values with the top bit set; fills every member,
// wDayOfWeek included (0 = Sunday).
bool FileTimeToCalendar(const FILETIME& fileTime, SYSTEMTIME& time);
