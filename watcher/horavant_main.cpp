// The watcher program: settings, the system-time privilege when clock setting is asked for,
// then the main window until the user closes it.
#include <windows.h>

#include "clock_privilege_win32.h"
#include "clock_win32.h"
#include "main_window.h"
#include "settings_win32.h"
#include "watcher_state.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    LoadSettings(Settings);
    AcquireClockPrivilege();
    if (Settings.SetTime) PrepareClockSetting();
    // A dialog that cannot be created ends the program as quietly as a closed one.
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), NULL, MainDialogProc, 0);
    return 0;
}
