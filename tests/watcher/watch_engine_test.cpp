#include "watch_engine.h"

#include <gtest/gtest.h>

#include "announce_text.h"
#include "clock_view.h"
#include "fake_clock_platform.h"
#include "fake_scan_platform.h"

namespace {

constexpr uint64_t Now = 133000000000000000;
constexpr DWORD NowTick = 1000;
const wchar_t HostPath[] = L"C:\\TV\\Viewer.exe";
const std::wstring IdleTitle = L"Horavant (時計合わせモード)";
const std::wstring AdjustingTitle = L"Horavant (時計合わせ中)";

// The engine as the dialog runs it: one trusted source, the clock timer and the title.
class ClockTimerTest : public testing::Test {
protected:
    FakeScanPlatform desktop;
    FakeClockPlatform platform;
    FakeClockWindow window;
    WatchEngine engine{desktop, platform};

    void SetUp() override
    {
        platform.tick = NowTick;
        platform.now = Now;
        TrustedPath trusted{};
        std::wstring(HostPath).copy(trusted.path, TrustedPathCapacity - 1);
        engine.Settings.Trusted.push_back(trusted);
        ShowClockState(window, engine);
    }
    // A second later the source announces a new sample, in step with its earlier ones; the
    // local clock now stands `msec` behind it.
    void Offset(int64_t msec)
    {
        platform.tick += 1000;
        const uint64_t source = Now + static_cast<uint64_t>(platform.tick) * 10000;
        platform.now = source - msec * 10000;
        wchar_t text[AnnounceTextCapacity];
        FormatAnnounceTimeRecord(text, platform.tick, static_cast<uint32_t>(source),
                                 static_cast<uint32_t>(source >> 32), L"BonDriver_A");
        FakeWindow& announcer = desktop.Window(0x10);
        announcer.text = text;
        announcer.ownerPath = HostPath;
        engine.Scan();
    }
    void Vanish()
    {
        desktop.windows.clear();
        engine.Scan();
    }
    void Tick() { OnClockTimer(window, engine); }
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

    Vanish();  // every source gone: the next tick hands the clock back
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
    ASSERT_TRUE(engine.IsAdjusting());
    platform.setWorks = false;
    Offset(0);
    Tick();
    EXPECT_TRUE(engine.IsAdjusting());
    EXPECT_EQ(AdjustingTitle, window.title);
    EXPECT_EQ(200u, window.periods.back());
}

TEST_F(ClockTimerTest, ExitHandsBackOnlyWhileAdjustingAndOnce)
{
    engine.RestoreClockAtExit();
    EXPECT_TRUE(platform.calls.empty());
    Offset(2000);
    Tick();
    ASSERT_TRUE(engine.IsAdjusting());
    platform.calls.clear();
    platform.setWorks = false;
    EXPECT_FALSE(engine.RestoreClockAtExit()) << "the session ends, or the program crashes";
    EXPECT_TRUE(engine.RestoreClockAtExit()) << "then the window goes";
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
        EXPECT_EQ(c.handedBack, engine.HandBackLeftoverSlew()) << c.adjustment << c.disabled;
        EXPECT_EQ(c.handedBack ? 1 : 0, platform.handBacks) << c.adjustment << c.disabled;
    }
}

}  // namespace
