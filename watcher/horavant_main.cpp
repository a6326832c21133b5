// The watcher program: settings, the system-time privilege when clock setting is asked for
// (and the running service does not set the clock), then the main window until the user closes
// it.
#include <windows.h>

#include "clock_service_win32.h"
#include "clock_win32.h"
#include "crash_hand_back.h"
#include "main_window.h"
#include "privilege_box.h"
#include "scan_win32.h"
#include "settings_win32.h"

namespace {

Win32ScanPlatform Windows;
Win32ClockPlatform Clock;
WatchEngine Engine(Windows, Clock);

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
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
