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

// Adds the icon as described and hides the window; no retry is then due.
bool AddIcon(HWND dialog, TrayIcon& icon)
{
    icon.Data.cbSize = sizeof icon.Data;
    if (!Shell_NotifyIconW(NIM_ADD, &icon.Data)) {
        icon.Data.cbSize = 0;
        return false;
    }
    icon.RetriesLeft = 0;
    KillTimer(dialog, TIMER_TRAY);
    ShowWindow(dialog, SW_HIDE);
    return true;
}

}  // namespace

void GoToTray(HWND dialog, TrayIcon& icon)
{
    if (TrayIconShown(icon)) return;
    NOTIFYICONDATAW& data = icon.Data;
    data = NOTIFYICONDATAW{};
    data.hWnd = dialog;
    data.uID = TrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP_TRAYNOTIFY;
    data.hIcon = reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
    lstrcpynW(data.szTip, MainTitle, sizeof data.szTip / sizeof data.szTip[0]);
    if (AddIcon(dialog, icon)) return;
    // At sign-in a busy shell lets NIM_ADD time out, and may still add the icon afterwards.
    icon.RetriesLeft = TrayRetries;
    SetTimer(dialog, TIMER_TRAY, TrayRetryMsec, NULL);
}

void RetryTrayIcon(HWND dialog, TrayIcon& icon)
{
    // A tick already queued when the timer was killed.
    if (icon.RetriesLeft == 0) return;
    icon.Data.cbSize = sizeof icon.Data;
    // An icon the shell added after NIM_ADD had timed out: its clicks would go unanswered.
    Shell_NotifyIconW(NIM_DELETE, &icon.Data);
    icon.Data.cbSize = 0;
    // A window the user has restored meanwhile stays where it is.
    if (IsIconic(dialog) && (AddIcon(dialog, icon) || --icon.RetriesLeft > 0)) return;
    icon.RetriesLeft = 0;
    KillTimer(dialog, TIMER_TRAY);
}

void ComeBackFromTray(HWND dialog, TrayIcon& icon)
{
    if (!TrayIconShown(icon)) return;
    RemoveTrayIcon(icon);
    ShowRestored(dialog);
}

void RestoreTrayIcon(HWND dialog, TrayIcon& icon)
{
    if (!TrayIconShown(icon)) return;
    // A shell that announces itself without having restarted still has the icon.
    if (Shell_NotifyIconW(NIM_ADD, &icon.Data) || Shell_NotifyIconW(NIM_MODIFY, &icon.Data)) {
        return;
    }
    icon.Data.cbSize = 0;
    ShowRestored(dialog);
}

void RemoveTrayIcon(TrayIcon& icon)
{
    if (!TrayIconShown(icon)) return;
    Shell_NotifyIconW(NIM_DELETE, &icon.Data);
    icon.Data.cbSize = 0;
}
