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

TEST_F(ClockTimerTest, ExitHandsBackOnlyWhileAdjustingAndOnce)
{
    RestoreClockAtExit(platform, isAdjusting);
    EXPECT_TRUE(platform.calls.empty());
    platform.setWorks = false;
    isAdjusting = true;
    RestoreClockAtExit(platform, isAdjusting);  // the session ends, or the program crashes
    RestoreClockAtExit(platform, isAdjusting);  // then the window goes
    EXPECT_EQ((std::vector<std::string>{"handback"}), platform.calls);
}

// A copy killed while slewing leaves one of its two rates; nothing else is touched.
TEST_F(ClockTimerTest, StartHandsBackOnlyTheSlewOfAKilledCopy)
{
    platform.increment = 156251;
    const struct { DWORD adjustment; bool disabled, readable, handedBack; } cases[] = {
        {312502, false, true, true}, {31250, false, true, true},  // twice, a fifth rounded down
        {312502, true, true, false}, {156251, false, true, false}, {31251, false, true, false},
        {312502, false, false, false}};
    for (const auto& c : cases) {
        platform.adjustment = c.adjustment;
        platform.adjustmentDisabled = c.disabled;
        platform.getWorks = c.readable;
        platform.handBacks = 0;
        HandBackLeftoverSlew(platform);
        EXPECT_EQ(c.handedBack ? 1 : 0, platform.handBacks) << c.adjustment << c.disabled;
    }
}

}  // namespace
