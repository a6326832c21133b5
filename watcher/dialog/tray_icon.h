// The notification-area icon that stands in for the hidden main window. The size field of its
// NOTIFYICONDATAW is the state: 0 while no icon exists, the full structure size while shown.
#pragma once

#include <windows.h>

#include <shellapi.h>

constexpr UINT WM_APP_TRAYNOTIFY = WM_APP + 1;  // the icon's callback; lParam: mouse message
constexpr UINT TrayIconId = 1;

inline bool TrayIconShown(const NOTIFYICONDATAW& icon)
{
    return icon.cbSize != 0;
}

// Adds the icon and hides the window; on failure the window stays as it is.
void GoToTray(HWND dialog, NOTIFYICONDATAW& icon);
// Removes the icon and shows the window restored.
void ComeBackFromTray(HWND dialog, NOTIFYICONDATAW& icon);
// After the shell has restarted (and lost every icon): adds the icon again, or shows the
// window when that fails, so that a hidden window never becomes unreachable.
void RestoreTrayIcon(HWND dialog, NOTIFYICONDATAW& icon);
// Removes the icon, if shown, when the window goes away.
void RemoveTrayIcon(NOTIFYICONDATAW& icon);
