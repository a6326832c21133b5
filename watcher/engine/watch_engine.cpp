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
    Average = StepClockDiscipline(Clock, Table, Settings.TotDelayMsec, Adjusting);
    return Adjusting != wasAdjusting;
}

bool WatchEngine::HandBackLeftoverSlew()
{
    TimeAdjustment state;
    if (!Clock.GetTimeAdjustment(state) || state.disabled) return false;
    // A refusal leaves it as it was: nothing to undo.
    return (state.adjustment == FastAdjustment(state.increment) ||
            state.adjustment == SlowAdjustment(state.increment)) &&
           Clock.SetTimeAdjustment(0, true);
}

bool WatchEngine::RestoreClockAtExit()
{
    // Nothing more can be done at exit if this fails.
    const bool handedBack = !Adjusting || Clock.SetTimeAdjustment(0, true);
    Adjusting = false;
    return handedBack;
}
