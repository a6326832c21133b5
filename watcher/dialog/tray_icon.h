// The notification-area icon that stands in for the hidden main window. The size field of its
// NOTIFYICONDATAW is the state: 0 while no icon exists, the full structure size while shown.
// A shell too busy to take the icon is asked again a few times.
#pragma once

#include <windows.h>

#include <shellapi.h>

constexpr UINT WM_APP_TRAYNOTIFY = WM_APP + 1;  // the icon's callback; lParam: mouse message
constexpr UINT TrayIconId = 1;
// After a failed NIM_ADD: tries again this often, this many times.
constexpr UINT_PTR TIMER_TRAY = 3;
constexpr UINT TrayRetryMsec = 2000;
constexpr int TrayRetries = 3;

struct TrayIcon {
    NOTIFYICONDATAW Data;
    int RetriesLeft;  // NIM_ADD tries still to come on TIMER_TRAY
};

inline bool TrayIconShown(const TrayIcon& icon)
{
    return icon.Data.cbSize != 0;
}

// Adds the icon and hides the window. On failure the window stays as it is and TIMER_TRAY
// tries again.
void GoToTray(HWND dialog, TrayIcon& icon);
// A tick of TIMER_TRAY: removes what the failed NIM_ADD may have left and adds the icon again,
// while the window is still minimised. After the last try the window stays on the taskbar.
void RetryTrayIcon(HWND dialog, TrayIcon& icon);
// Removes the icon and shows the window restored.
void ComeBackFromTray(HWND dialog, TrayIcon& icon);
// After the shell has restarted (and lost every icon): adds the icon again, or shows the
// window when that fails, so that a hidden window never becomes unreachable.
void RestoreTrayIcon(HWND dialog, TrayIcon& icon);
// Removes the icon, if shown, when the window goes away.
void RemoveTrayIcon(TrayIcon& icon);
