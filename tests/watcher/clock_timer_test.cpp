#include "clock_timer.h"

#include <gtest/gtest.h>

#include "fake_clock_platform.h"

namespace {

constexpr uint64_t Now = 133000000000000000;
const std::wstring IdleTitle = L"Horavant (時計合わせモード)";
const std::wstring AdjustingTitle = L"Horavant (時計合わせ中)";

class ClockTimerTest : public testing::Test {
protected:
    FakeClockPlatform platform;
    FakeClockWindow window;
    SourceTable table;
    bool isAdjusting = false;

    void SetUp() override
    {
        platform.tick = 1000;
        platform.now = Now;
        EnterClockMode(window);
    }
    void Offset(int64_t msec)
    {
        SourceRecord& record = table[0x10];
        record.tick = 1000;
        record.trusted = true;
        const uint64_t time = Now + msec * 10000;
        record.fileTime = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    }
    void Tick() { OnClockTimer(platform, window, table, 0, isAdjusting); }
};

TEST_F(ClockTimerTest, PeriodAndTitleFollowTheState)
{
    EXPECT_EQ((std::vector<UINT>{5000}), window.periods);
    EXPECT_EQ(IdleTitle, window.title);

    Offset(500);
    Tick();
    EXPECT_EQ(1u, window.periods.size()) << "no change, no new period";

    Offset(2000);
    Tick();
    EXPECT_EQ((std::vector<UINT>{5000, 200}), window.periods);
    EXPECT_EQ(AdjustingTitle, window.title);

    Offset(-300);  // still adjusting, the other way
    Tick();
    EXPECT_EQ(2u, window.periods.size());

    table.clear();  // every source gone: the next tick hands the clock back
    Tick();
    EXPECT_EQ((std::vector<UINT>{5000, 200, 5000}), window.periods);
    EXPECT_EQ(IdleTitle, window.title);
    EXPECT_EQ(1, platform.handBacks);
}

TEST_F(ClockTimerTest, RefusedCallsKeepPeriodAndTitle)
{
    platform.setWorks = false;
    Offset(2000);
    Tick();
    EXPECT_EQ(1u, window.periods.size());
    EXPECT_EQ(IdleTitle, window.title);

    platform.setWorks = true;
    Tick();
    ASSERT_TRUE(isAdjusting);
    platform.setWorks = false;
    Offset(0);
    Tick();
    EXPECT_TRUE(isAdjusting);
    EXPECT_EQ(AdjustingTitle, window.title);
    EXPECT_EQ(200u, window.periods.back());
}

// The window's destruction, the session's end and an unhandled exception all take this way.
TEST_F(ClockTimerTest, EveryWayOutHandsBackOnlyWhileAdjustingAndOnce)
{
    RestoreClockAtExit(platform, isAdjusting);
    EXPECT_TRUE(platform.calls.empty());
    platform.setWorks = false;
    isAdjusting = true;
    RestoreClockAtExit(platform, isAdjusting);  // the session ends
    RestoreClockAtExit(platform, isAdjusting);  // then the window goes, or the program crashes
    EXPECT_EQ((std::vector<std::string>{"handback"}), platform.calls);
    EXPECT_FALSE(isAdjusting);
}

TEST_F(ClockTimerTest, StartHandsBackOnlyTheSlewOfAKilledCopy)
{
    platform.increment = 156251;
    for (int64_t offset : {2000, -2000}) {  // twice the rate, then a fifth rounded down
        isAdjusting = false;                 // a fresh copy
        Offset(offset);
        Tick();
        ASSERT_FALSE(platform.adjustmentDisabled);
        // Killed while slewing: only the next copy's start hands the clock back.
        platform.handBacks = 0;
        HandBackLeftoverSlew(platform);
        EXPECT_EQ(1, platform.handBacks) << offset;
        EXPECT_TRUE(platform.adjustmentDisabled) << offset;
    }
    const struct {
        DWORD adjustment;
        bool disabled, readable;
    } others[] = {
        {312502, true, true},   // disabled: the system keeps the time
        {156251, false, true},  // another program's adjustments
        {312503, false, true},
        {31251, false, true},
        {312502, false, false},  // unreadable
    };
    for (const auto& other : others) {
        platform.adjustment = other.adjustment;
        platform.adjustmentDisabled = other.disabled;
        platform.getWorks = other.readable;
        platform.calls.clear();
        HandBackLeftoverSlew(platform);
        EXPECT_EQ((std::vector<std::string>{"get"}), platform.calls) << other.adjustment;
    }
}

}  // namespace
