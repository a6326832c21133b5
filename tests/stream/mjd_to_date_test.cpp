// The MJD conversion over every 16-bit value, against a plain Gregorian day count: values from
// 15079 are days since 1858-11-17, smaller ones lie 65536 days further on.
#include "ts_analyzer.h"

#include <gtest/gtest.h>

namespace {

struct Date {
    int year, month, day;
};

// Walks the calendar day by day from 1858-11-17 (MJD 0, a Wednesday).
class GregorianDays {
public:
    Date DateOf(int mjd) {
        while (current < mjd)
            Advance();
        return date;
    }

private:
    void Advance() {
        ++current;
        const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
        const int lengths[12] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++date.day > lengths[date.month - 1]) {
            date.day = 1;
            if (++date.month > 12) {
                date.month = 1;
                ++date.year;
            }
        }
    }

    int current = 0;
    Date date{1858, 11, 17};
};

TEST(MjdToDate, EveryValueGivesTheGregorianDateAndWeekday) {
    GregorianDays calendar;
    for (int mjd = 15079; mjd < 15079 + 65536; ++mjd) {
        const WORD carried = WORD(mjd);  // as the 16-bit field carries it
        WORD year, month, day, dayOfWeek;
        CTsAnalyzer::MjdToDate(carried, year, month, day, dayOfWeek);
        const Date expected = calendar.DateOf(mjd);
        ASSERT_EQ(year, expected.year) << mjd;
        ASSERT_EQ(month, expected.month) << mjd;
        ASSERT_EQ(day, expected.day) << mjd;
        ASSERT_EQ(dayOfWeek, (mjd + 3) % 7) << mjd;  // MJD 0 was a Wednesday
    }
}

TEST(MjdToDate, EdgesOfBothCycles) {
    WORD year, month, day, dayOfWeek;
    CTsAnalyzer::MjdToDate(15079, year, month, day, dayOfWeek);
    EXPECT_EQ(year * 10000 + month * 100 + day, 19000301);
    EXPECT_EQ(dayOfWeek, 4);  // Thursday
    CTsAnalyzer::MjdToDate(65535, year, month, day, dayOfWeek);
    EXPECT_EQ(year * 10000 + month * 100 + day, 20380422);
    CTsAnalyzer::MjdToDate(0, year, month, day, dayOfWeek);
    EXPECT_EQ(year * 10000 + month * 100 + day, 20380423);
    EXPECT_EQ(dayOfWeek, 5);  // Friday
    CTsAnalyzer::MjdToDate(15078, year, month, day, dayOfWeek);
    EXPECT_EQ(year * 10000 + month * 100 + day, 20790804);
}

}  // namespace
