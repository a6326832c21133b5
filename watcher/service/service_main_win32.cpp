#include "service_main_win32.h"

#include <shellapi.h>
#include <wchar.h>

#include "desktop_scan_win32.h"
#include "event_log_win32.h"
#include "privilege_win32.h"
#include "service_worker.h"
#include "settings_win32.h"
#include "wrapper_files.h"

namespace {

constexpr DWORD AcceptedWhileRunning =
    SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PRESHUTDOWN | SERVICE_ACCEPT_SHUTDOWN;

const char NotStartedAsServiceText[] =
    "Horavant --service runs only as the Windows service \"Horavant\", started by the service "
    "control manager. Run Horavant.exe without arguments for its window.\r\n";

// The service's one set of objects: the dispatcher's thread runs the control handler, the
// service's main thread the worker.
WatchEngine* Engine;
SnapshotScanPlatform* Desktops;
SERVICE_STATUS_HANDLE StatusHandle;
HANDLE StopEvent;

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
        status.dwControlsAccepted = state == ServiceState::Running ? AcceptedWhileRunning : 0;
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
    bool PrepareScan() override { return GatherAllDesktops(Desktops->Windows, StopEvent); }
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

DWORD WINAPI OnControl(DWORD control, DWORD, LPVOID, LPVOID)
{
    return Control.OnRequest(RequestOf(control)) ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, LPWSTR*)
{
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
    RunServiceWorker(*Engine, privilege, Control, events, seams);
}

// A program of the GUI subsystem has no console of its own: the text goes to the standard
// error it was given, or else to its parent's console.
void SayNotStartedAsService()
{
    HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    bool console = false;
    if ((out == NULL || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                          OPEN_EXISTING, 0, NULL);
        console = true;
    }
    if (out == NULL || out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, NotStartedAsServiceText, sizeof NotStartedAsServiceText - 1, &written, NULL);
    if (console) CloseHandle(out);
}

}  // namespace

bool IsServiceCommandLine(const WCHAR* commandLine)
{
    int count = 0;
    WCHAR** arguments = CommandLineToArgvW(commandLine, &count);
    if (arguments == NULL) return false;
    const bool service = count == 2 && wcscmp(arguments[1], WatcherServiceArgument) == 0;
    LocalFree(arguments);
    return service;
}

int RunHoravantService(WatchEngine& engine, SnapshotScanPlatform& desktops)
{
    Engine = &engine;
    Desktops = &desktops;
    SERVICE_TABLE_ENTRYW services[] = {
        {const_cast<LPWSTR>(WatcherServiceName), ServiceMain}, {NULL, NULL}};
    if (StartServiceCtrlDispatcherW(services)) return 0;
    SayNotStartedAsService();
    return NotStartedAsService;
}
