// The service's state as the service control manager sees it, and what the control handler
// does with a request. The handler runs on the dispatcher's thread and only reports and
// signals; the worker does the rest.
#pragma once

#include <mutex>

#include "win32_types.h"

enum class ServiceState { Starting, Running, Stopping, Stopped };
enum class ServiceRequest { Stop, Preshutdown, Shutdown, Interrogate, Other };

// How long a pending state may last before the next report: reading the settings at start;
// at a stop, one text request still under way (1 s at most) and the hand-back.
constexpr DWORD StartWaitHintMsec = 3000;
constexpr DWORD StopWaitHintMsec = 3000;

// On Windows SetServiceStatus (the controls accepted follow from the state) and the stop
// event.
class ServiceStatusCalls {
public:
    // `exitCode` counts for Stopped only, `checkPoint` and `waitHintMsec` for the pending states.
    virtual void Report(ServiceState state, DWORD exitCode, DWORD checkPoint,
                        DWORD waitHintMsec) = 0;
    // Wakes the worker, which hands the clock back and stops.
    virtual void RequestStop() = 0;

protected:
    ~ServiceStatusCalls() = default;
};

class ServiceControl {
public:
    explicit ServiceControl(ServiceStatusCalls& calls) : Calls(calls) {}
    ServiceControl(const ServiceControl&) = delete;
    ServiceControl& operator=(const ServiceControl&) = delete;

    void Starting();
    void Running();
    // `exitCode` 0, or the Win32 error that kept the service from starting.
    void Stopped(DWORD exitCode);
    // The control handler. Stop, pre-shutdown and shutdown report STOP_PENDING once and ask
    // the worker to stop; interrogation changes nothing. False for a request not handled.
    bool OnRequest(ServiceRequest request);

private:
    void Report(ServiceState state, DWORD exitCode, DWORD waitHintMsec);  // under Lock

    ServiceStatusCalls& Calls;
    std::mutex Lock;  // the handler's thread and the worker both report
    ServiceState State = ServiceState::Starting;
    DWORD CheckPoint = 0;
};
