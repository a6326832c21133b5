#include "service_control.h"

void ServiceControl::Report(ServiceState state, DWORD exitCode, DWORD waitHintMsec)
{
    State = state;
    const bool pending = state == ServiceState::Starting || state == ServiceState::Stopping;
    CheckPoint = pending ? CheckPoint + 1 : 0;
    Calls.Report(state, exitCode, CheckPoint, pending ? waitHintMsec : 0);
}

void ServiceControl::Starting()
{
    std::lock_guard<std::mutex> hold(Lock);
    Report(ServiceState::Starting, 0, StartWaitHintMsec);
}

void ServiceControl::Running()
{
    std::lock_guard<std::mutex> hold(Lock);
    Report(ServiceState::Running, 0, 0);
}

void ServiceControl::Stopped(DWORD exitCode)
{
    std::lock_guard<std::mutex> hold(Lock);
    Report(ServiceState::Stopped, exitCode, 0);
}

bool ServiceControl::OnRequest(ServiceRequest request)
{
    switch (request) {
    case ServiceRequest::Stop:
    case ServiceRequest::Preshutdown:
    case ServiceRequest::Shutdown: {
        std::lock_guard<std::mutex> hold(Lock);
        // A shutdown after a stop, or after the worker has ended, reports nothing new.
        if (State != ServiceState::Running) return true;
        Report(ServiceState::Stopping, 0, StopWaitHintMsec);
        Calls.RequestStop();
        return true;
    }
    case ServiceRequest::Interrogate:
        return true;
    default:
        return false;
    }
}
