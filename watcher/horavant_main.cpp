// The watcher program: settings, the system-time privilege when clock setting is asked for,
// then the main window until the user closes it.
#include <windows.h>

#include "clock_win32.h"
#include "crash_hand_back.h"
#include "main_window.h"
#include "privilege_box.h"
#include "scan_win32.h"
#include "settings_win32.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
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
