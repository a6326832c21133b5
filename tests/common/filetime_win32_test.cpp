// The portable conversions give exactly what Windows' SystemTimeToFileTime and
// FileTimeToSystemTime give, valid or not, over a sweep of edge values.
#include "calendar_fields.h"
#include "filetime.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <vector>

namespace {

std::vector<SYSTEMTIME> CalendarSweep() {
    std::vector<SYSTEMTIME> cases;
    for (int year : {0, 1600, 1601, 1602, 1700, 1900, 1970, 2000, 2004, 2038, 2100, 9999, 30826, 30827, 30828, 65535})
        for (int month = 0; month <= 13; ++month)
            for (int day : {0, 1, 27, 28, 29, 30, 31, 32, 255})
                cases.push_back(Calendar(year, month, day, 12, 0, 0, 0));
    for (int hour : {0, 23, 24, 65535})
        for (int minute : {0, 59, 60})
            for (int second : {0, 59, 60})
                for (int ms : {0, 999, 1000})
                    cases.push_back(Calendar(2004, 2, 29, hour, minute, second, ms));
    for (int dayOfWeek : {0, 6, 7, 100, 65535})
        cases.push_back(Calendar(2007, 11, 23, 13, 25, 14, 0, dayOfWeek));
    cases.push_back(Calendar(1601, 1, 1, 0, 0, 0, 0));
    cases.push_back(Calendar(30827, 12, 31, 23, 59, 59, 999));
    return cases;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Wine 8 accepts two kinds of dates that Windows refuses: 29 February of any year (it rolls over
// to 1 March) and years after 30827. Where Wine accepts one of them, the portable conversion must
// still refuse it as Windows does.
bool WineAcceptsWhatWindowsRefuses(const SYSTEMTIME& time) {
    return (time.wMonth == 2 && time.wDay == 29 && !IsLeapYear(time.wYear)) || time.wYear > 30827;
}

TEST(FileTimeAgainstWindows, CalendarToFileTime) {
    for (const SYSTEMTIME& time : CalendarSweep()) {
        FILETIME expected{}, actual{};
        bool windows = SystemTimeToFileTime(&time, &expected) != FALSE;
        if (windows && WineAcceptsWhatWindowsRefuses(time))
            windows = false;
        ASSERT_EQ(CalendarToFileTime(time, actual), windows)
            << time.wYear << '-' << time.wMonth << '-' << time.wDay << ' ' << time.wHour << ':' << time.wMinute
            << ':' << time.wSecond << '.' << time.wMilliseconds;
        if (windows)
            ASSERT_EQ(Ticks(actual), Ticks(expected));
    }
}

TEST(FileTimeAgainstWindows, FileTimeToCalendar) {
    std::vector<uint64_t> values = {0, 1, 9999, 10000, 116444736000000000ull, 0x7FFFFFFFFFFFFFFFull,
                                    0x7FFF35F4F06C58F0ull, 0x8000000000000000ull, 0xFFFFFFFFFFFFFFFFull};
    std::mt19937_64 random(3);
    for (int i = 0; i < 2000; ++i)
        values.push_back(random() >> (i % 2));  // half of them with the top bit possibly set
    for (uint64_t value : values) {
        const FILETIME fileTime{DWORD(value), DWORD(value >> 32)};
        SYSTEMTIME expected{}, actual{};
        const bool windows = FileTimeToSystemTime(&fileTime, &expected) != FALSE;
        ASSERT_EQ(FileTimeToCalendar(fileTime, actual), windows) << std::hex << value;
        if (windows)
            ASSERT_EQ(memcmp(&actual, &expected, sizeof actual), 0) << std::hex << value;
    }
}

}  // namespace
