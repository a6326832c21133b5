// The whole chain in simulated time: announcing sources, the scan timer, the clock timer with
// its period switch, and a machine whose clock runs at adjustment / increment.
#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>

#include "announce_text.h"
#include "clock_view.h"
#include "fake_clock_platform.h"
#include "fake_scan_platform.h"
#include "watch_engine.h"

namespace {

constexpr int64_t UnitsPerMsec = 10000;
// True time at the start: 2026-03-01 12:00:00 less 250 ms, so whole seconds fall between steps.
constexpr uint64_t TrueEpoch = 134168400000000000 - 250 * UnitsPerMsec;
constexpr DWORD TickAtStart = 0xfffff000;  // the tick wraps early in every run
const wchar_t HostPath[] = L"C:\\TV\\Viewer.exe";

class SimulatedMachine : public ClockPlatform, public ClockWindow {
public:
    int64_t realMsec = 0;
    UINT clockPeriod = 0;
    bool adjusted = false;  // an adjustment of our own is installed
    bool slewOutsideBounds = false;

    SimulatedMachine(int64_t startOffsetMsec, DWORD increment)
        : Increment(increment), segmentLocal(TrueEpoch + startOffsetMsec * UnitsPerMsec),
          adjustment(increment)
    {
    }

    uint64_t TrueTime() const { return TrueEpoch + realMsec * UnitsPerMsec; }
    uint64_t Local() const
    {
        return segmentLocal +
               static_cast<uint64_t>((realMsec - segmentStart) * UnitsPerMsec * adjustment /
                                     Increment);
    }
    double ErrorMsec() const
    {
        return static_cast<double>(static_cast<int64_t>(Local() - TrueTime())) / UnitsPerMsec;
    }

    DWORD TickCount() override { return Tick(); }
    DWORD Tick() const { return TickAtStart + static_cast<DWORD>(realMsec); }
    bool LocalFileTime(FILETIME& now) override  // GetLocalTime has whole milliseconds
    {
        const uint64_t local = Local() / UnitsPerMsec * UnitsPerMsec;
        now = {static_cast<DWORD>(local), static_cast<DWORD>(local >> 32)};
        return true;
    }
    bool GetTimeAdjustment(TimeAdjustment& state) override
    {
        state = {adjustment, Increment, !adjusted};
        return true;
    }
    bool SetTimeAdjustment(DWORD value, bool disabled) override
    {
        segmentLocal = Local();
        segmentStart = realMsec;
        adjustment = disabled ? Increment : value;
        adjusted = !disabled;
        if (adjustment > 2 * Increment || adjustment < Increment / 5) slewOutsideBounds = true;
        return true;
    }
    void StartClockTimer(UINT periodMsec) override
    {
        clockPeriod = periodMsec;
        nextClockTick = realMsec + periodMsec;
    }
    void SetTitle(const WCHAR*) override {}

    // A periodic timer: due every clockPeriod ms since it was last started.
    bool ClockTimerDue()
    {
        if (realMsec != nextClockTick) return false;
        nextClockTick += clockPeriod;
        return true;
    }

private:
    const DWORD Increment;  // 100 ns per clock interrupt
    uint64_t segmentLocal;
    int64_t segmentStart = 0;
    DWORD adjustment;
    int64_t nextClockTick = -1;
};

struct Scenario {
    int64_t startOffsetMsec;
    int announceEverySec;
    int delayMsec;  // transmission delay, corrected by TotDelayMsec
    DWORD increment;
};

class ClockSimulationTest : public testing::TestWithParam<Scenario> {};

// Every source announces the true whole seconds it receives `delay` ms late.
void Announce(FakeScanPlatform& desktop, const SimulatedMachine& machine, const Scenario& s)
{
    const int64_t sent = static_cast<int64_t>(machine.TrueTime()) - s.delayMsec * UnitsPerMsec;
    const int64_t perSecond = 1000 * UnitsPerMsec;
    if (sent % (perSecond * s.announceEverySec) != 0) return;
    const wchar_t* names[] = {L"BonDriver_A", L"BonDriver_B"};
    for (uintptr_t i = 0; i < 2; ++i) {
        wchar_t text[AnnounceTextCapacity];
        FormatAnnounceTimeRecord(text, machine.Tick(), static_cast<uint32_t>(sent),
                                 static_cast<uint32_t>(static_cast<uint64_t>(sent) >> 32),
                                 names[i]);
        FakeWindow& window = desktop.Window(0x100 * (i + 1));
        window.text = text;
        window.ownerPath = HostPath;
    }
}

TEST_P(ClockSimulationTest, SlewsIntoTheBandAndHandsTheClockBack)
{
    const Scenario s = GetParam();
    SimulatedMachine machine(s.startOffsetMsec, s.increment);
    FakeScanPlatform desktop;
    WatchEngine engine(desktop, machine);
    engine.Settings.TotDelayMsec = s.delayMsec;
    TrustedPath trusted{};
    std::wstring(HostPath).copy(trusted.path, TrustedPathCapacity - 1);
    engine.Settings.Trusted.push_back(trusted);
    bool wasAdjusting = false;
    int64_t handedBackAt = -1;

    ShowClockState(machine, engine);
    for (; machine.realMsec <= 120000 && handedBackAt < 0; ++machine.realMsec) {
        Announce(desktop, machine, s);
        if (machine.realMsec % 500 == 0) engine.Scan();
        if (!machine.ClockTimerDue()) continue;
        OnClockTimer(machine, engine);
        wasAdjusting = wasAdjusting || engine.IsAdjusting();
        if (wasAdjusting && !engine.IsAdjusting()) handedBackAt = machine.realMsec;
    }
    printf("clock simulation: start %+6lld ms, announced every %d s, delay %3d ms, increment "
           "%6u: handed back after %5.1f s, error %+5.1f ms\n",
           static_cast<long long>(s.startOffsetMsec), s.announceEverySec, s.delayMsec,
           static_cast<unsigned>(s.increment),
           static_cast<double>(handedBackAt) / 1000, machine.ErrorMsec());

    ASSERT_GE(handedBackAt, 0) << "never handed back";
    EXPECT_FALSE(machine.adjusted);
    EXPECT_FALSE(machine.slewOutsideBounds) << "only the two slew rates are ever installed";
    EXPECT_EQ(ClockIdlePeriodMsec, machine.clockPeriod);
    // The reading is cut to whole milliseconds, so the band reaches one more on the slow side.
    EXPECT_GE(machine.ErrorMsec(), -100.0);
    EXPECT_LE(machine.ErrorMsec(), 99.0);

    // Left alone, it stays in step and idle.
    const int64_t end = machine.realMsec + 60000;
    for (; machine.realMsec <= end; ++machine.realMsec) {
        Announce(desktop, machine, s);
        if (machine.realMsec % 500 == 0) engine.Scan();
        if (machine.ClockTimerDue()) OnClockTimer(machine, engine);
        ASSERT_FALSE(engine.IsAdjusting()) << "restarted at " << machine.realMsec;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ClockSimulationTest,
    testing::Values(Scenario{10000, 1, 0, 156250}, Scenario{-10000, 1, 0, 156250},
                    Scenario{1500, 1, 0, 156250}, Scenario{-1500, 1, 0, 156250},
                    Scenario{10000, 5, 0, 156250}, Scenario{-10000, 5, 0, 156250},
                    Scenario{1500, 5, 0, 156250}, Scenario{-1500, 5, 0, 156250},
                    Scenario{10000, 1, 300, 156250}, Scenario{-10000, 1, 300, 156250},
                    Scenario{1500, 5, 300, 156250}, Scenario{-1500, 5, 300, 156250},
                    Scenario{10000, 5, 300, 100144}, Scenario{-10000, 5, 300, 100144},
                    Scenario{1500, 1, 0, 100144}, Scenario{-1500, 1, 0, 100144}));

}  // namespace
