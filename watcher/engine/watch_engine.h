// The watcher's engine: settings, source table, trust and the clock discipline in one small
// controller that does not know who hosts it. The host (the dialog, the service) fills the
// settings at start, feeds the engine its scan and clock ticks and the broadcasts it receives,
// shows or logs what changed, and hands the clock back on every way out. The engine reaches the
// platform only through its two seams: the announcement windows and the clock.
#pragma once

#include <stdint.h>

#include "clock_discipline.h"
#include "source_scanner.h"

constexpr UINT ClockIdlePeriodMsec = 5000;
constexpr UINT ClockAdjustingPeriodMsec = 200;

class WatchEngine {
public:
    WatchEngine(ScanPlatform& windows, ClockPlatform& clock) : Windows(windows), Clock(clock) {}
    WatchEngine(const WatchEngine&) = delete;
    WatchEngine& operator=(const WatchEngine&) = delete;

    // Read once at start; SetTime is cleared when the privilege cannot be enabled.
    WatchSettings Settings{};

    const SourceTable& Sources() const { return Table; }
    ClockPlatform& ClockCalls() const { return Clock; }
    // True exactly while this program's own time adjustment is installed.
    bool IsAdjusting() const { return Adjusting; }
    // How often the host steps the clock in the present state, ms.
    UINT ClockPeriodMsec() const;
    // The average the last clock step acted on (no sources before the first step).
    const OffsetAverage& LastAverage() const { return Average; }

    // A tick of the scan timer: every announcement window is read once.
    void Scan();
    // A received AnnounceMessage: its lParam, seconds since 1970.
    void TakeBroadcast(int32_t seconds);
    // A tick of the clock timer: one discipline step. True when IsAdjusting changed, so that
    // the host shows the new state and steps at the new period.
    bool StepClock();

    // The adjustment is machine-wide and outlives a copy that was killed or crashed while
    // slewing. At start-up in clock-setting mode: an adjustment enabled at exactly one of this
    // program's two rates is such a leftover, and is handed back. True when one was.
    bool HandBackLeftoverSlew();
    // At every way out (the window's destruction, the session's end, a stop, a crash): hands
    // the clock back if this program still adjusts it, and marks it handed back so that
    // nothing hands it back twice. False only when the clock was adjusted and the hand-back
    // was refused.
    bool RestoreClockAtExit();

private:
    ScanPlatform& Windows;
    ClockPlatform& Clock;
    SourceTable Table;
    int32_t BroadcastCount = 0;  // broadcasts received so far
    bool Adjusting = false;
    OffsetAverage Average{0, 0};
};
