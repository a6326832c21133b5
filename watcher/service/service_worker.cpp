#include "service_worker.h"

#include <algorithm>

namespace {

// Ticks are compared modulo 2^32; deadlines lie less than 2^31 ms ahead.
bool Due(DWORD deadline, DWORD now)
{
    return static_cast<int32_t>(now - deadline) >= 0;
}

DWORD Until(DWORD deadline, DWORD now)
{
    return Due(deadline, now) ? 0 : deadline - now;
}

void WatchUntilStopped(WatchEngine& engine, ServiceEvents& events, WorkerSeams& seams,
                       RelaySupervisor* relays)
{
    ClockPlatform& clock = engine.ClockCalls();
    const bool setTime = engine.Settings.SetTime;
    const DWORD scanPeriod = ScanPeriodMsec(engine.Settings.UpdateMsec);
    DWORD nextScan = clock.TickCount();
    DWORD nextStep = nextScan + engine.ClockPeriodMsec();
    for (;;) {
        const DWORD now = clock.TickCount();
        if (Due(nextScan, now)) {
            if (relays != nullptr) relays->Poll(now);
            if (!seams.PrepareScan()) return;
            engine.Scan();
            events.AfterScan(engine.Sources(), clock.TickCount());
            nextScan = now + scanPeriod;
        }
        if (setTime && Due(nextStep, now)) {
            engine.StepClock();
            events.AfterClockStep(engine.IsAdjusting(), engine.LastAverage(), now);
            nextStep = now + engine.ClockPeriodMsec();
        }
        const DWORD after = clock.TickCount();
        DWORD wait = Until(nextScan, after);
        if (setTime) wait = std::min(wait, Until(nextStep, after));
        if (seams.WaitForStop(wait)) return;
    }
}

}  // namespace

DWORD ScanPeriodMsec(uint32_t updateMsec)
{
    if (updateMsec < MinScanPeriodMsec) return MinScanPeriodMsec;
    return updateMsec > MaxScanPeriodMsec ? MaxScanPeriodMsec : updateMsec;
}

void RunServiceWorker(WatchEngine& engine, PrivilegePlatform& privilege, ServiceControl& control,
                      ServiceEvents& events, WorkerSeams& seams, RelaySupervisor* relays)
{
    AcquireClockPrivilege(privilege, engine.Settings.SetTime);
    if (engine.Settings.SetTime && engine.HandBackLeftoverSlew()) events.LeftoverHandedBack();
    events.Started(engine.Settings, engine.ClockCalls().TickCount());
    if (relays != nullptr) relays->StartAll(engine.ClockCalls().TickCount());
    control.Running();
    WatchUntilStopped(engine, events, seams, relays);
    if (relays != nullptr) relays->EndAll();
    const bool wasAdjusting = engine.IsAdjusting();
    const bool handedBack = engine.RestoreClockAtExit();
    events.Stopped(wasAdjusting, handedBack);
    control.Stopped(0);
}
