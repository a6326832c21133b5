#include "clock_view.h"

void ShowClockState(ClockWindow& window, const WatchEngine& engine)
{
    window.StartClockTimer(engine.ClockPeriodMsec());
    window.SetTitle(engine.IsAdjusting() ? ClockAdjustingTitle : ClockIdleTitle);
}

void OnClockTimer(ClockWindow& window, WatchEngine& engine)
{
    if (engine.StepClock()) ShowClockState(window, engine);
}
