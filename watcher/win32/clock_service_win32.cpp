#include "clock_service_win32.h"

#include <windows.h>

#include "wrapper_files.h"

// Any user may ask a service's state. A service about to run counts as running.
bool ClockServiceRunning()
{
    const SC_HANDLE manager = OpenSCManagerW(NULL, NULL, SC_MANAGER_CONNECT);
    const SC_HANDLE service =
        manager ? OpenServiceW(manager, WatcherServiceName, SERVICE_QUERY_STATUS) : NULL;
    SERVICE_STATUS status = {};
    const bool known = service && QueryServiceStatus(service, &status);
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return known && (status.dwCurrentState == SERVICE_RUNNING ||
                     status.dwCurrentState == SERVICE_START_PENDING);
}
