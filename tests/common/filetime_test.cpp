// Calendar <-> FILETIME conversions against a day-by-day walk of the Gregorian calendar over
// the whole range the platform accepts, and every range check.
#include "calendar_fields.h"
#include "filetime.h"

#include <gtest/gtest.h>

namespace {

const uint64_t TicksPerDay = 864000000000ull;  // 100-ns units

FILETIME FileTimeOf(uint64_t ticks) {
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

bool Accepted(const SYSTEMTIME& time) {
    FILETIME ignored;
    return CalendarToFileTime(time, ignored);
}

TEST(FileTime, EveryDayFrom1601To30827) {
    int year = 1601, month = 1, day = 1;
    int dayOfWeek = 1;  // 1601-01-01 was a Monday
    for (uint64_t index = 0; year <= 30827; ++index) {
        FILETIME fileTime;
        ASSERT_TRUE(CalendarToFileTime(Calendar(year, month, day, 12, 34, 56, 789), fileTime)) << year;
        ASSERT_EQ(Ticks(fileTime), index * TicksPerDay + 452967890000ull) << year << '-' << month << '-' << day;
        SYSTEMTIME back;
        ASSERT_TRUE(FileTimeToCalendar(fileTime, back));
        ASSERT_EQ(back.wYear, year);
        ASSERT_EQ(back.wMonth, month);
        ASSERT_EQ(back.wDay, day);
        ASSERT_EQ(back.wDayOfWeek, dayOfWeek);
        ASSERT_EQ(back.wHour * 10000000 + back.wMinute * 100000 + back.wSecond * 1000 + back.wMilliseconds,
                  123456789);
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int lengths[12] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        dayOfWeek = (dayOfWeek + 1) % 7;
        if (++day > lengths[month - 1]) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
}

TEST(FileTime, KnownInstants) {
    FILETIME fileTime;
    ASSERT_TRUE(CalendarToFileTime(Calendar(1970, 1, 1), fileTime));
    EXPECT_EQ(Ticks(fileTime), 116444736000000000ull);
    ASSERT_TRUE(CalendarToFileTime(Calendar(30827, 12, 31, 23, 59, 59, 999), fileTime));
    EXPECT_EQ(Ticks(fileTime), 9223149887999990000ull);
    SYSTEMTIME time;
    ASSERT_TRUE(FileTimeToCalendar(FileTimeOf(0x7FFFFFFFFFFFFFFFull), time));
    EXPECT_EQ(time.wYear, 30828);
    EXPECT_EQ(time.wMonth, 9);
    EXPECT_EQ(time.wDay, 14);
    EXPECT_EQ(time.wDayOfWeek, 4);
    EXPECT_EQ(time.wHour * 10000000 + time.wMinute * 100000 + time.wSecond * 1000 + time.wMilliseconds, 24805477);
}

TEST(FileTime, TopBitSetIsRefused) {
    SYSTEMTIME time = Calendar(2000, 1, 1);
    EXPECT_FALSE(FileTimeToCalendar(FileTimeOf(0x8000000000000000ull), time));
    EXPECT_FALSE(FileTimeToCalendar(FileTimeOf(~0ull), time));
    EXPECT_EQ(time.wYear, 2000);  // untouched
}

TEST(FileTime, RangeChecksOfEveryMember) {
    EXPECT_FALSE(Accepted(Calendar(1600, 12, 31, 23, 59, 59, 999)));
    EXPECT_TRUE(Accepted(Calendar(1601, 1, 1)));
    EXPECT_FALSE(Accepted(Calendar(30828, 1, 1)));
    EXPECT_FALSE(Accepted(Calendar(2000, 0, 1)));
    EXPECT_FALSE(Accepted(Calendar(2000, 13, 1)));
    EXPECT_FALSE(Accepted(Calendar(2000, 1, 0)));
    EXPECT_FALSE(Accepted(Calendar(2001, 4, 31)));
    EXPECT_TRUE(Accepted(Calendar(2000, 2, 29)));
    EXPECT_TRUE(Accepted(Calendar(2004, 2, 29)));
    EXPECT_FALSE(Accepted(Calendar(1900, 2, 29)));
    EXPECT_FALSE(Accepted(Calendar(1700, 2, 29)));
    EXPECT_FALSE(Accepted(Calendar(2001, 2, 29)));
    EXPECT_FALSE(Accepted(Calendar(2000, 1, 1, 24)));
    EXPECT_FALSE(Accepted(Calendar(2000, 1, 1, 0, 60)));
    EXPECT_FALSE(Accepted(Calendar(2000, 1, 1, 0, 0, 60)));
    EXPECT_FALSE(Accepted(Calendar(2000, 1, 1, 0, 0, 0, 1000)));
    SYSTEMTIME anyWeekday = Calendar(2000, 1, 1);
    anyWeekday.wDayOfWeek = 9;
    EXPECT_TRUE(Accepted(anyWeekday));
}

}  // namespace
