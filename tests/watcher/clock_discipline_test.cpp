#include "clock_discipline.h"

#include <gtest/gtest.h>

#include "fake_clock_platform.h"

namespace {

constexpr uint64_t Now = 133000000000000000;  // a FILETIME in 2022
constexpr DWORD NowTick = 5000000;
constexpr int64_t UnitsPerMsec = 10000;

class ClockDisciplineTest : public testing::Test {
protected:
    FakeClockPlatform platform;
    SourceTable table;
    int32_t totDelayMsec = 0;
    bool isAdjusting = false;

    void SetUp() override
    {
        platform.tick = NowTick;
        platform.now = Now;
    }

    // A source received `elapsed` ms ago whose time, carried to now, is `offset100ns` ahead.
    void Source(SourceKey key, int64_t offset100ns, DWORD elapsed = 0, bool trusted = true)
    {
        SourceRecord& record = table[key];
        record.tick = NowTick - elapsed;
        const uint64_t time = Now + offset100ns - static_cast<int64_t>(elapsed) * UnitsPerMsec;
        record.fileTime.dwLowDateTime = static_cast<DWORD>(time);
        record.fileTime.dwHighDateTime = static_cast<DWORD>(time >> 32);
        record.acceptance = FirstSample({record.tick, record.fileTime});
        record.trusted = trusted;
    }
    void SourceMsec(SourceKey key, int64_t offsetMsec, DWORD elapsed = 0)
    {
        Source(key, offsetMsec * UnitsPerMsec, elapsed);
    }
    int64_t Average() { return AverageOffset(table, NowTick, FILETIME{
        static_cast<DWORD>(Now), static_cast<DWORD>(Now >> 32)}, totDelayMsec).msec; }
    // Steps from the given state; true when the step installed an adjustment.
    bool Starts(bool adjusting = false)
    {
        isAdjusting = adjusting;
        platform.adjustments.clear();
        platform.handBacks = 0;
        StepClockDiscipline(platform, table, totDelayMsec, isAdjusting);
        return !platform.adjustments.empty();
    }
};

TEST_F(ClockDisciplineTest, IdleStartsOnlyBeyondOneSecond)
{
    const struct { int64_t offset; bool starts; } cases[] = {
        {1000, false}, {-1000, false}, {1001, true}, {-1001, true}, {0, false}};
    for (const auto& c : cases) {
        table.clear();
        SourceMsec(0x10, c.offset);
        EXPECT_EQ(c.starts, Starts()) << c.offset;
        EXPECT_EQ(c.starts, isAdjusting) << c.offset;
        EXPECT_EQ(0, platform.handBacks);
    }
}

TEST_F(ClockDisciplineTest, AdjustingStopsWithinNinetyNineMilliseconds)
{
    const struct { int64_t offset; bool stops; } cases[] = {
        {99, true}, {-99, true}, {100, false}, {-100, false}, {0, true}};
    for (const auto& c : cases) {
        table.clear();
        SourceMsec(0x10, c.offset);
        EXPECT_EQ(!c.stops, Starts(true)) << c.offset;
        EXPECT_EQ(c.stops ? 1 : 0, platform.handBacks) << c.offset;
        EXPECT_EQ(!c.stops, isAdjusting) << c.offset;
    }
}

TEST_F(ClockDisciplineTest, RateFollowsTheSignTwiceOrOneFifth)
{
    platform.increment = 156251;
    SourceMsec(0x10, 5000);
    ASSERT_TRUE(Starts());
    EXPECT_EQ(312502u, platform.adjustments.at(0));

    table.clear();
    SourceMsec(0x10, -5000);
    ASSERT_TRUE(Starts(true)) << "crossing to the other side switches the rate directly";
    EXPECT_EQ(31250u, platform.adjustments.at(0)) << "one fifth, rounded down";
    EXPECT_TRUE(isAdjusting);
}

TEST_F(ClockDisciplineTest, OnlyFreshTrustedRecordsCount)
{
    SourceMsec(0x10, 3000, 99999);
    EXPECT_EQ(3000, Average()) << "elapsed 99999 counts";
    table.clear();
    SourceMsec(0x10, 3000, 100000);
    EXPECT_EQ(0, Average()) << "elapsed 100000 does not";
    table.clear();
    Source(0x10, 3000 * UnitsPerMsec);
    table[0x10].acceptance.accepted.tick = NowTick + 1;  // from the future: a huge unsigned age
    EXPECT_EQ(0, Average());

    table.clear();
    Source(BroadcastKey, 9000 * UnitsPerMsec, 0, false);
    Source(0x20, 9000 * UnitsPerMsec, 0, false);
    SourceMsec(0x30, 3000);
    EXPECT_EQ(3000, Average()) << "untrusted records, the broadcast one included, never count";
}

TEST_F(ClockDisciplineTest, AgeCarriesTheSampleForwardAcrossTheTickWrap)
{
    platform.tick = 100;
    SourceRecord& record = table[0x10];
    record.trusted = true;
    record.tick = 0xffffff9c;  // 200 ms before the present tick, across the wrap
    const uint64_t time = Now + 1500 * UnitsPerMsec;
    record.fileTime = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    record.acceptance = FirstSample({record.tick, record.fileTime});
    EXPECT_EQ(1700, AverageOffset(table, 100, {static_cast<DWORD>(Now),
                                               static_cast<DWORD>(Now >> 32)}, 0).msec);
}

TEST_F(ClockDisciplineTest, AveragesAndDifferencesTruncateTowardZero)
{
    SourceMsec(0x10, 1001);
    SourceMsec(0x20, 1002);
    EXPECT_EQ(1001, Average());
    table.clear();
    SourceMsec(0x10, -1001);
    SourceMsec(0x20, -1002);
    EXPECT_EQ(-1001, Average());

    // 1000.5 and -1000.5 on average stay inside the idle band.
    table.clear();
    SourceMsec(0x10, 1000);
    SourceMsec(0x20, 1001);
    EXPECT_FALSE(Starts());
    table.clear();
    SourceMsec(0x10, -1000);
    SourceMsec(0x20, -1001);
    EXPECT_FALSE(Starts());

    // A difference of 1000.9999 ms counts as 1000, of -1000.9999 ms as -1000.
    table.clear();
    Source(0x10, 1000 * UnitsPerMsec + 9999);
    EXPECT_FALSE(Starts());
    table.clear();
    Source(0x10, -1000 * UnitsPerMsec - 9999);
    EXPECT_FALSE(Starts());
}

TEST_F(ClockDisciplineTest, TotDelayIsAddedToEverySource)
{
    totDelayMsec = 500;
    SourceMsec(0x10, 0);
    EXPECT_EQ(500, Average());
    totDelayMsec = -1500;
    EXPECT_EQ(-1500, Average());
    EXPECT_TRUE(Starts());
    EXPECT_EQ(31250u, platform.adjustments.at(0));
}

TEST_F(ClockDisciplineTest, NoSourceAtAllHandsTheClockBack)
{
    EXPECT_EQ(0, Average());
    EXPECT_FALSE(Starts());
    EXPECT_EQ(0, platform.handBacks);
    EXPECT_FALSE(Starts(true));
    EXPECT_EQ(1, platform.handBacks);
    EXPECT_FALSE(isAdjusting);
}

TEST_F(ClockDisciplineTest, FailedPlatformCallsChangeNothing)
{
    SourceMsec(0x10, 5000);
    platform.getWorks = false;
    EXPECT_FALSE(Starts());
    EXPECT_FALSE(isAdjusting) << "no increment, no adjustment";
    EXPECT_FALSE(Starts(true));
    EXPECT_TRUE(isAdjusting);

    platform.getWorks = true;
    platform.setWorks = false;
    EXPECT_TRUE(Starts());
    EXPECT_FALSE(isAdjusting) << "a refused start leaves the state idle";

    table.clear();
    EXPECT_FALSE(Starts(true));
    EXPECT_EQ(1, platform.handBacks);
    EXPECT_TRUE(isAdjusting) << "a refused hand-back keeps the state";

    platform.setWorks = true;
    platform.localTimeWorks = false;
    platform.calls.clear();
    EXPECT_FALSE(Starts(true));
    EXPECT_EQ((std::vector<std::string>{"tick", "local"}), platform.calls)
        << "without a local time nothing is compared";
}

TEST_F(ClockDisciplineTest, TickIsTakenBeforeTheLocalTime)
{
    SourceMsec(0x10, 5000);
    Starts();
    EXPECT_EQ((std::vector<std::string>{"tick", "local", "get", "set"}), platform.calls);
}

}  // namespace
