// The watcher program: settings, the system-time privilege when clock setting is asked for
// (and the running service does not set the clock), then the main window until the user closes
// it. With --service it runs as the service instead, on the same engine; with --relay as the
// service's relay in a signed-in session.
#include <windows.h>

#include "clock_service_win32.h"
#include "clock_win32.h"
#include "command_line_win32.h"
#include "crash_hand_back.h"
#include "main_window.h"
#include "privilege_box.h"
#include "relay_main_win32.h"
#include "relay_record.h"
#include "scan_win32.h"
#include "service_main_win32.h"
#include "settings_win32.h"
#include "wrapper_files.h"
#ifdef QUELLAP_TEST_BUILD
#include "test_build_clock.h"
#endif

namespace {

Win32ScanPlatform Windows;
#ifdef QUELLAP_TEST_BUILD
TestBuildClock Clock;  // plays what Wine's clock cannot show; never shipped
#else
Win32ClockPlatform Clock;
#endif
WatchEngine Engine(Windows, Clock);

// The service reaches every desktop of its session through a snapshot of their windows.
SnapshotScanPlatform Desktops(Windows);
WatchEngine ServiceEngine(Desktops, Clock);

int RunService()
{
    HandBackClockOnCrash(ServiceEngine);
    return RunHoravantService(ServiceEngine, Desktops);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (IsSoleOption(GetCommandLineW(), WatcherServiceArgument)) return RunService();
    if (IsSoleOption(GetCommandLineW(), RelayArgument)) return RunRelay();
    LoadSettings(Engine.Settings);
    // Two slews would fight, and the hand-back of a leftover slew would end the service's own.
    const bool serviceSetsClock = Engine.Settings.SetTime && ClockServiceRunning();
    if (serviceSetsClock) Engine.Settings.SetTime = false;
    BoxPrivilegePlatform privilege;
    AcquireClockPrivilege(privilege, Engine.Settings.SetTime);
    if (Engine.Settings.SetTime) {
        Engine.HandBackLeftoverSlew();
        HandBackClockOnCrash(Engine);
    }
    RunMainWindow(instance, Engine, serviceSetsClock);
    return 0;
}
