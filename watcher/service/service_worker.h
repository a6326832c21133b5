// The service's one worker thread, from its start-up to STOPPED: the scans every UpdateMsec and
// the clock steps on the engine's period, in timed waits that a stop request cuts short.
#pragma once

#include <stdint.h>

#include "clock_privilege.h"
#include "relay_supervisor.h"
#include "service_control.h"
#include "service_events.h"
#include "watch_engine.h"

// The bounds the dialog's scan timer keeps (USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM).
constexpr DWORD MinScanPeriodMsec = 10;
constexpr DWORD MaxScanPeriodMsec = 0x7FFFFFFF;

// What the worker waits on and what it scans; on Windows the stop event and the gathering of
// every desktop's announcement windows.
class WorkerSeams {
public:
    // Waits at most `msec` for a stop request; true when there is one.
    virtual bool WaitForStop(DWORD msec) = 0;
    // Gathers what the next scan reads, the relays' windows included; false when a stop
    // request came meanwhile.
    virtual bool PrepareScan() = 0;

protected:
    ~WorkerSeams() = default;
};

// UpdateMsec as the worker uses it: within the dialog timer's bounds.
DWORD ScanPeriodMsec(uint32_t updateMsec);

// Runs the service once its settings are read: the privilege step, the hand-back of a leftover
// slew, the relays (when `relays` is given), RUNNING, then scans and clock steps until a stop
// request, the relays polled before each scan; then the relays end, the clock is handed back
// and STOPPED reported. Every step on the way is logged through `events`.
void RunServiceWorker(WatchEngine& engine, PrivilegePlatform& privilege, ServiceControl& control,
                      ServiceEvents& events, WorkerSeams& seams, RelaySupervisor* relays);
