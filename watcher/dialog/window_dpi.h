// The main window's DPI on every Windows from 7 on. The calls that tell it came with Windows 8.1
// and 10 1607, after the version the program is built for, so they are looked up at run time.
#pragma once

#include <windows.h>

// The DPI the window is shown at: its monitor's from 8.1 on, the system's before.
UINT WindowDpi(HWND window);

// True where the dialog manager rescales the dialog itself when its DPI changes (per-monitor
// v2, Windows 10 1703 and later); per-monitor v1 (8.1 to 10 1607) leaves that to the program.
bool DialogScalesItself(HWND window);

// Per-monitor v2's dialog manager would also place the dialog's items anew when its DPI
// changes; the window lays them out itself on the WM_SIZE that follows.
void KeepItemsInPlace(HWND dialog);

// A length in pixels at 96 DPI, at `dpi`.
inline int ScaledForDpi(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}
