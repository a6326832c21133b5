#include "service_main_win32.h"

#include <wchar.h>
#include <wtsapi32.h>

#include <atomic>

#include "command_line_win32.h"
#include "desktop_scan_win32.h"
#include "event_log_win32.h"
#include "privilege_win32.h"
#include "relay_platform_win32.h"
#include "service_worker.h"
#include "settings_win32.h"
#include "wrapper_files.h"

namespace {

constexpr DWORD AcceptedWhileRunning =
    SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PRESHUTDOWN | SERVICE_ACCEPT_SHUTDOWN;

// A start argument of the service (sc start Horavant --scan-own-station) for the tests: Wine
// runs the service in the signed-in session, so only this keeps it from seeing what the relay
// should report.
const WCHAR OwnStationArgument[] = L"--scan-own-station";

const char NotStartedAsServiceText[] =
    "Horavant --service runs only as the Windows service \"Horavant\", started by the service "
    "control manager. Run Horavant.exe without arguments for its window.\r\n";

// The service's one set of objects: the dispatcher's thread runs the control handler, the
// service's main thread the worker.
WatchEngine* Engine;
SnapshotScanPlatform* Desktops;
SERVICE_STATUS_HANDLE StatusHandle;
HANDLE StopEvent;
StationScope Scope = StationScope::Every;
// Set while the relays run; the control handler hands them the session changes.
std::atomic<RelaySupervisor*> Relays{nullptr};

DWORD StateCode(ServiceState state)
{
    switch (state) {
    case ServiceState::Starting:
        return SERVICE_START_PENDING;
    case ServiceState::Running:
        return SERVICE_RUNNING;
    case ServiceState::Stopping:
        return SERVICE_STOP_PENDING;
    default:
        return SERVICE_STOPPED;
    }
}

ServiceRequest RequestOf(DWORD control)
{
    switch (control) {
    case SERVICE_CONTROL_STOP:
        return ServiceRequest::Stop;
    case SERVICE_CONTROL_PRESHUTDOWN:
        return ServiceRequest::Preshutdown;
    case SERVICE_CONTROL_SHUTDOWN:
        return ServiceRequest::Shutdown;
    case SERVICE_CONTROL_INTERROGATE:
        return ServiceRequest::Interrogate;
    default:
        return ServiceRequest::Other;
    }
}

class Win32ServiceStatus : public ServiceStatusCalls {
public:
    void Report(ServiceState state, DWORD exitCode, DWORD checkPoint, DWORD waitHintMsec) override
    {
        SERVICE_STATUS status = {};
        status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
        status.dwCurrentState = StateCode(state);
        DWORD accepted = AcceptedWhileRunning;
        if (Relays.load() != nullptr) accepted |= SERVICE_ACCEPT_SESSIONCHANGE;
        status.dwControlsAccepted = state == ServiceState::Running ? accepted : 0;
        status.dwWin32ExitCode = exitCode;
        status.dwCheckPoint = checkPoint;
        status.dwWaitHint = waitHintMsec;
        SetServiceStatus(StatusHandle, &status);
    }
    void RequestStop() override { SetEvent(StopEvent); }
};

Win32ServiceStatus Status;
ServiceControl Control(Status);

class DesktopWorkerSeams : public WorkerSeams {
public:
    bool WaitForStop(DWORD msec) override
    {
        return WaitForSingleObject(StopEvent, msec) == WAIT_OBJECT_0;
    }
    bool PrepareScan() override
    {
        if (!GatherAllDesktops(Desktops->Windows, Scope, StopEvent)) return false;
        if (Relays.load() != nullptr) Relays.load()->AppendTo(Desktops->Windows);
        return true;
    }
};

// Where the dialog shows a box, which nobody would see in the service's session, the service
// writes an event.
class LoggedPrivilegePlatform : public Win32PrivilegePlatform {
public:
    explicit LoggedPrivilegePlatform(ServiceEvents& events) : Events(events) {}
    void WarnNoPrivilege() override { Events.NoPrivilege(); }

private:
    ServiceEvents& Events;
};

// A disconnected session keeps its relay; a lock changes nothing.
void OnSessionChange(DWORD eventType, const WTSSESSION_NOTIFICATION* notice)
{
    RelaySupervisor* relays = Relays.load();
    if (relays == nullptr || notice == NULL) return;
    switch (eventType) {
    case WTS_SESSION_LOGON:
    case WTS_REMOTE_CONNECT:
    case WTS_CONSOLE_CONNECT:
        relays->Notify(SessionChange::SignedIn, notice->dwSessionId);
        break;
    case WTS_SESSION_LOGOFF:
        relays->Notify(SessionChange::SignedOut, notice->dwSessionId);
        break;
    default:
        break;
    }
}

DWORD WINAPI OnControl(DWORD control, DWORD eventType, LPVOID eventData, LPVOID)
{
    if (control == SERVICE_CONTROL_SESSIONCHANGE) {
        OnSessionChange(eventType, static_cast<const WTSSESSION_NOTIFICATION*>(eventData));
        return NO_ERROR;
    }
    return Control.OnRequest(RequestOf(control)) ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

StationScope ScopeOf(DWORD argc, LPWSTR* argv)
{
    for (DWORD i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], OwnStationArgument) == 0) return StationScope::Own;
    }
    return StationScope::Every;
}

void WINAPI ServiceMain(DWORD argc, LPWSTR* argv)
{
    Scope = ScopeOf(argc, argv);
    StatusHandle = RegisterServiceCtrlHandlerExW(WatcherServiceName, OnControl, NULL);
    if (StatusHandle == NULL) return;  // nothing can be reported without it
    Control.Starting();
    StopEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (StopEvent == NULL) {
        Control.Stopped(GetLastError());
        return;
    }
    LoadSettings(Engine->Settings);
    EventLogSink log;
    ServiceEvents events(log);
    LoggedPrivilegePlatform privilege(events);
    DesktopWorkerSeams seams;
    Win32RelayPlatform relayPlatform;
    RelaySupervisor relays(relayPlatform, events);
    if (Engine->Settings.RelaySessions) Relays = &relays;
    RunServiceWorker(*Engine, privilege, Control, events, seams, Relays.load());
    Relays = nullptr;
}

}  // namespace

int RunHoravantService(WatchEngine& engine, SnapshotScanPlatform& desktops)
{
    Engine = &engine;
    Desktops = &desktops;
    SERVICE_TABLE_ENTRYW services[] = {
        {const_cast<LPWSTR>(WatcherServiceName), ServiceMain}, {NULL, NULL}};
    if (StartServiceCtrlDispatcherW(services)) return 0;
    SayToStarter(NotStartedAsServiceText);
    return NotStartedAsService;
}
