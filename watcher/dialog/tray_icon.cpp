#include "tray_icon.h"

#include "window_titles.h"

// The shell takes the structure's size as its version: the full current one, 956 bytes in
// 32-bit programs.
static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAW) == 956, "full NOTIFYICONDATAW");

namespace {

void ShowRestored(HWND dialog)
{
    ShowWindow(dialog, SW_SHOW);
    ShowWindow(dialog, SW_RESTORE);
}

}  // namespace

void GoToTray(HWND dialog, NOTIFYICONDATAW& icon)
{
    if (TrayIconShown(icon)) return;
    icon = NOTIFYICONDATAW{};
    icon.cbSize = sizeof icon;
    icon.hWnd = dialog;
    icon.uID = TrayIconId;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_APP_TRAYNOTIFY;
    icon.hIcon = reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
    lstrcpynW(icon.szTip, MainTitle, sizeof icon.szTip / sizeof icon.szTip[0]);
    if (Shell_NotifyIconW(NIM_ADD, &icon)) {
        ShowWindow(dialog, SW_HIDE);
    } else {
        icon.cbSize = 0;
    }
}

void ComeBackFromTray(HWND dialog, NOTIFYICONDATAW& icon)
{
    if (!TrayIconShown(icon)) return;
    RemoveTrayIcon(icon);
    ShowRestored(dialog);
}

void RestoreTrayIcon(HWND dialog, NOTIFYICONDATAW& icon)
{
    if (!TrayIconShown(icon)) return;
    // A shell that announces itself without having restarted still has the icon.
    if (Shell_NotifyIconW(NIM_ADD, &icon) || Shell_NotifyIconW(NIM_MODIFY, &icon)) return;
    icon.cbSize = 0;
    ShowRestored(dialog);
}

void RemoveTrayIcon(NOTIFYICONDATAW& icon)
{
    if (!TrayIconShown(icon)) return;
    Shell_NotifyIconW(NIM_DELETE, &icon);
    icon.cbSize = 0;
}
