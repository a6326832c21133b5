#include "watch_engine.h"

UINT WatchEngine::ClockPeriodMsec() const
{
    return Adjusting ? ClockAdjustingPeriodMsec : ClockIdlePeriodMsec;
}

void WatchEngine::Scan()
{
    ScanSources(Windows, Table, Settings);
}

void WatchEngine::TakeBroadcast(int32_t seconds)
{
    StoreBroadcast(Table, BroadcastCount, seconds, Clock.TickCount());
}

bool WatchEngine::StepClock()
{
    const bool wasAdjusting = Adjusting;
    StepClockDiscipline(Clock, Table, Settings.TotDelayMsec, Adjusting);
    return Adjusting != wasAdjusting;
}

void WatchEngine::HandBackLeftoverSlew()
{
    TimeAdjustment state;
    if (!Clock.GetTimeAdjustment(state) || state.disabled) return;
    if (state.adjustment == FastAdjustment(state.increment) ||
        state.adjustment == SlowAdjustment(state.increment)) {
        Clock.SetTimeAdjustment(0, true);  // a refusal leaves it as it was: nothing to undo
    }
}

void WatchEngine::RestoreClockAtExit()
{
    // Nothing more can be done at exit if this fails.
    if (Adjusting) Clock.SetTimeAdjustment(0, true);
    Adjusting = false;
}
