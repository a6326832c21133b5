// The main window's side of the clock discipline: the clock timer's period, the title that
// shows the state, and the hand-backs at start and at every way out.
#pragma once

#include "clock_discipline.h"
#include "window_titles.h"

constexpr UINT TIMER_CLOCK = 2;
constexpr UINT ClockIdlePeriodMsec = 5000;
constexpr UINT ClockAdjustingPeriodMsec = 200;

// What the handling does to the main window; on Windows SetTimer and SetWindowTextW.
class ClockWindow {
public:
    // Starts TIMER_CLOCK, or replaces its period.
    virtual void StartClockTimer(UINT periodMsec) = 0;
    virtual void SetTitle(const WCHAR* title) = 0;

protected:
    ~ClockWindow() = default;
};

// At initialisation in clock-setting mode: the idle period and the mode title.
void EnterClockMode(ClockWindow& window);

// A tick of TIMER_CLOCK: one discipline step, then the period and title of the new state when
// the state changed.
void OnClockTimer(ClockPlatform& platform, ClockWindow& window, const SourceTable& table,
                  int32_t totDelayMsec, bool& isAdjusting);

// At the window's destruction, the session's end or an unhandled exception: hands the clock
// back if this program still adjusts it, and marks it handed back so nothing takes it again.
void RestoreClockAtExit(ClockPlatform& platform, bool& isAdjusting);

// The adjustment is machine-wide and outlives a copy that was killed or crashed while slewing.
// At start-up in clock-setting mode: an adjustment enabled at exactly one of this program's two
// rates is such a leftover, and is handed back.
void HandBackLeftoverSlew(ClockPlatform& platform);
