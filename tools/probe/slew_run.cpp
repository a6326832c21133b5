#include "slew_run.h"

namespace {

// Waits until `durationMsec` have passed on the counter since `start`; `end` is the sample that
// ends the wait. False when the wait was cut short.
bool WaitPhase(SlewClock& clock, const ClockSample& start, uint32_t durationMsec, int64_t frequency,
               ClockSample& end)
{
    for (;;) {
        end = clock.Sample();
        const int64_t elapsedMsec =
            CounterUnits(end.counter - start.counter, frequency) / TimeUnitsPerMsec;
        if (elapsedMsec >= durationMsec) return true;
        if (!clock.Wait(static_cast<uint32_t>(durationMsec - elapsedMsec))) return false;
    }
}

void ReadValues(SlewClock& clock, CallFailure& failure, AdjustmentValues& values)
{
    const uint32_t error = clock.ReadAdjustment(values);
    if (error != 0) failure = {L"GetSystemTimeAdjustment", error};
}

}  // namespace

SlewRun RunSlew(SlewClock& clock, SlewOwnership& ownership, const SlewPlan& plan,
                int64_t counterFrequency)
{
    SlewRun run;
    // Nothing allocates while a rate is set: an exception then would end the program before
    // the hand-back.
    run.phases.reserve(sizeof plan.phases / sizeof plan.phases[0]);
    // Each phase ends with the sample that starts the next, taken before its rate is set.
    ClockSample start = clock.Sample();
    for (const SlewPhase& phase : plan.phases) {
        run.endPhase = static_cast<int>(run.phases.size());
        const SetOutcome set = ownership.Set(phase.adjustment, run.setError);
        if (set != SetOutcome::Done) {
            run.end = set == SetOutcome::Stopped ? SlewEnd::Stopped : SlewEnd::SetFailed;
            break;
        }
        if (run.endPhase == 0) ReadValues(clock, run.whileSetFailure, run.whileSet);
        ClockSample end;
        if (!WaitPhase(clock, start, phase.durationMsec, counterFrequency, end)) {
            run.end = SlewEnd::Stopped;
            break;
        }
        run.phases.push_back(MeasurePhase(phase.adjustment, start, end, counterFrequency));
        start = end;
    }
    run.handBack = ownership.HandBack(run.handBackError);
    ReadValues(clock, run.afterFailure, run.after);
    return run;
}
