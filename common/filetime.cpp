#include "filetime.h"

#include <stdint.h>

namespace {

const int64_t TicksPerMillisecond = 10000;  // FILETIME counts 100 ns
const int64_t MillisecondsPerDay = 86400000;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const unsigned char days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 0000-03-01 of the proleptic Gregorian calendar, years starting in March so that
// the leap day comes last.
int64_t DaysFromCivil(int year, int month, int day) {
    const int shiftedYear = month <= 2 ? year - 1 : year;
    const int era = shiftedYear / 400;
    const int yearOfEra = shiftedYear - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return int64_t(era) * 146097 + dayOfEra;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    const int64_t era = days / 146097;
    const int dayOfEra = int(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;  // 0 = March
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = int(era * 400) + yearOfEra + (month <= 2 ? 1 : 0);
}

}  // namespace

bool CalendarToFileTime(const SYSTEMTIME& time, FILETIME& fileTime) {
    if (time.wYear < 1601 || time.wYear > 30827 || time.wMonth < 1 || time.wMonth > 12 ||
        time.wDay < 1 || time.wDay > DaysInMonth(time.wYear, time.wMonth) || time.wHour >= 24 ||
        time.wMinute >= 60 || time.wSecond >= 60 || time.wMilliseconds >= 1000)
        return false;
    const int64_t days = DaysFromCivil(time.wYear, time.wMonth, time.wDay) - DaysFromCivil(1601, 1, 1);
    const int64_t milliseconds = days * MillisecondsPerDay +
        ((int64_t(time.wHour) * 60 + time.wMinute) * 60 + time.wSecond) * 1000 + time.wMilliseconds;
    const uint64_t ticks = uint64_t(milliseconds * TicksPerMillisecond);
    fileTime.dwLowDateTime = DWORD(ticks);
    fileTime.dwHighDateTime = DWORD(ticks >> 32);
    return true;
}

bool FileTimeToCalendar(const FILETIME& fileTime, SYSTEMTIME& time) {
    const uint64_t ticks = FileTimeValue(fileTime);
    if (ticks >> 63)
        return false;
    const int64_t milliseconds = int64_t(ticks) / TicksPerMillisecond;
    const int64_t days = milliseconds / MillisecondsPerDay;
    const int64_t millisecondOfDay = milliseconds % MillisecondsPerDay;
    int year, month, day;
    CivilFromDays(days + DaysFromCivil(1601, 1, 1), year, month, day);
    time.wYear = WORD(year);
    time.wMonth = WORD(month);
    time.wDay = WORD(day);
    time.wDayOfWeek = WORD((days + 1) % 7);  // 1601-01-01 was a Monday
    time.wHour = WORD(millisecondOfDay / 3600000);
    time.wMinute = WORD(millisecondOfDay / 60000 % 60);
    time.wSecond = WORD(millisecondOfDay / 1000 % 60);
    time.wMilliseconds = WORD(millisecondOfDay % 1000);
    return true;
}
