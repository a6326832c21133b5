#include "clock_timer.h"

void EnterClockMode(ClockWindow& window)
{
    window.StartClockTimer(ClockIdlePeriodMsec);
    window.SetTitle(ClockIdleTitle);
}

void OnClockTimer(ClockPlatform& platform, ClockWindow& window, const SourceTable& table,
                  int32_t totDelayMsec, bool& isAdjusting)
{
    const bool wasAdjusting = isAdjusting;
    StepClockDiscipline(platform, table, totDelayMsec, isAdjusting);
    if (isAdjusting == wasAdjusting) return;
    window.StartClockTimer(isAdjusting ? ClockAdjustingPeriodMsec : ClockIdlePeriodMsec);
    window.SetTitle(isAdjusting ? ClockAdjustingTitle : ClockIdleTitle);
}

void RestoreClockAtExit(ClockPlatform& platform, bool& isAdjusting)
{
    // Nothing more can be done at exit if this fails.
    if (isAdjusting) platform.SetTimeAdjustment(0, true);
    isAdjusting = false;
}

void HandBackLeftoverSlew(ClockPlatform& platform)
{
    TimeAdjustment state;
    if (!platform.GetTimeAdjustment(state) || state.disabled) return;
    if (state.adjustment == FastAdjustment(state.increment) ||
        state.adjustment == SlowAdjustment(state.increment)) {
        platform.SetTimeAdjustment(0, true);  // a refusal leaves it as it was: nothing to undo
    }
}
