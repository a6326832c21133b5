// The main window's side of the clock discipline: the clock timer's period and the title that
// show the engine's state.
#pragma once

#include "watch_engine.h"
#include "window_titles.h"

constexpr UINT TIMER_CLOCK = 2;

// What the handling does to the main window; on Windows SetTimer and SetWindowTextW.
class ClockWindow {
public:
    // Starts TIMER_CLOCK, or replaces its period.
    virtual void StartClockTimer(UINT periodMsec) = 0;
    virtual void SetTitle(const WCHAR* title) = 0;

protected:
    ~ClockWindow() = default;
};

// At initialisation in clock-setting mode, and after every change of state: the period and
// title of the present state.
void ShowClockState(ClockWindow& window, const WatchEngine& engine);

// A tick of TIMER_CLOCK: one discipline step, then the period and title of the new state when
// the state changed.
void OnClockTimer(ClockWindow& window, WatchEngine& engine);
