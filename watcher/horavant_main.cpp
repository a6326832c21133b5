// The watcher program: settings, the system-time privilege when clock setting is asked for,
// then the main window until the user closes it. With --service it runs as the service
// instead, on the same engine; with --relay as the service's relay in a signed-in session.
#include <windows.h>

#include "clock_win32.h"
#include "command_line_win32.h"
#include "crash_hand_back.h"
#include "main_window.h"
#include "privilege_box.h"
#include "relay_main_win32.h"
#include "scan_win32.h"
#include "service_main_win32.h"
#include "settings_win32.h"

namespace {

Win32ScanPlatform Windows;
Win32ClockPlatform Clock;
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
    if (IsSoleOption(GetCommandLineW(), L"--service")) return RunService();
    if (IsSoleOption(GetCommandLineW(), L"--relay")) return RunRelay();
    LoadSettings(Engine.Settings);
    BoxPrivilegePlatform privilege;
    AcquireClockPrivilege(privilege, Engine.Settings.SetTime);
    if (Engine.Settings.SetTime) {
        Engine.HandBackLeftoverSlew();
        HandBackClockOnCrash(Engine);
    }
    RunMainWindow(instance, Engine);
    return 0;
}
