#include "main_window.h"

#include <initializer_list>

#include "announce_name.h"
#include "clock_view.h"
#include "source_list.h"
#include "tray_icon.h"
#include "window_dpi.h"

namespace {

// The one window's state; touched only by the program's one thread.
struct MainWindowState {
    WatchEngine* Engine;         // what the window runs and shows, set before it exists
    bool ServiceSetsClock;       // clock-setting mode left to the running service
    UINT AnnounceMessage;        // 0 when registration failed: broadcasts are then not taken
    UINT TaskbarCreatedMessage;  // the shell has (re)started and lost every icon
    TrayIcon Tray;
    UINT Dpi = USER_DEFAULT_SCREEN_DPI;  // the window's, as WM_DPICHANGED last told it
};

MainWindowState Window;

class DialogClockWindow : public ClockWindow {
public:
    explicit DialogClockWindow(HWND dialog) : Dialog(dialog) {}
    void StartClockTimer(UINT periodMsec) override { SetTimer(Dialog, TIMER_CLOCK, periodMsec, NULL); }
    void SetTitle(const WCHAR* title) override { SetWindowTextW(Dialog, title); }

private:
    HWND Dialog;
};

const WatchSettings& Settings()
{
    return Window.Engine->Settings;
}

// The list box takes the whole client area but a margin of 10 pixels at 96 DPI; the sizes stay
// signed, so a tiny client area gives a negative size, passed on as it is.
void LayOut(HWND dialog, int width, int height)
{
    const int margin = ScaledForDpi(10, Window.Dpi);
    MoveWindow(GetDlgItem(dialog, IDC_SOURCELIST), margin, margin, width - 2 * margin,
               height - 2 * margin, TRUE);
}

// Run elevated (as clock setting needs), the window hears no message at or above WM_USER from
// programs of lower integrity unless it lets it through: the hosts' broadcasts, the restarted
// shell and the icon's callbacks would all be dropped. Harmless when not elevated.
void AllowFromLowerIntegrity(HWND dialog)
{
    for (const UINT message :
         {Window.AnnounceMessage, Window.TaskbarCreatedMessage, WM_APP_TRAYNOTIFY}) {
        if (message != 0) ChangeWindowMessageFilterEx(dialog, message, MSGFLT_ALLOW, NULL);
    }
}

INT_PTR OnInitDialog(HWND dialog)
{
    Window.AnnounceMessage = RegisterWindowMessageW(AnnounceName);
    Window.TaskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    AllowFromLowerIntegrity(dialog);
    // Pointer-sized: the 64-bit program's instance lies above 4 GiB.
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN))));
    SetTimer(dialog, TIMER_SCAN, Settings().UpdateMsec, NULL);
    if (Settings().SetTime) {
        DialogClockWindow window(dialog);
        ShowClockState(window, *Window.Engine);
    } else if (Window.ServiceSetsClock) {
        SetWindowTextW(dialog, ServiceClockTitle);
    }
    Window.Dpi = WindowDpi(dialog);
    KeepItemsInPlace(dialog);
    RECT client;
    if (GetClientRect(dialog, &client)) {
        SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    if (Settings().TopMost) {
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (Settings().Minimize) ShowWindow(dialog, SW_MINIMIZE);
    return TRUE;  // the dialog manager gives the list box the focus
}

INT_PTR OnSize(HWND dialog, WPARAM kind, LPARAM size)
{
    LayOut(dialog, LOWORD(size), HIWORD(size));
    if (kind == SIZE_MINIMIZED && Settings().MinToTray) PostMessageW(dialog, WM_APP_TRAY, 1, 0);
    return FALSE;
}

INT_PTR OnTimer(HWND dialog, WPARAM id)
{
    switch (id) {
    case TIMER_SCAN:
        Window.Engine->Scan();
        // A hidden or minimised window keeps scanning but does not redraw its list.
        if (!IsIconic(dialog) && IsWindowVisible(dialog)) PostMessageW(dialog, WM_APP_REFRESH, 0, 0);
        return TRUE;
    case TIMER_CLOCK: {
        DialogClockWindow window(dialog);
        OnClockTimer(window, *Window.Engine);
        return TRUE;
    }
    case TIMER_TRAY:
        RetryTrayIcon(dialog, Window.Tray);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnTrayNotify(HWND dialog, WPARAM id, LPARAM mouseMessage)
{
    if (id != TrayIconId || mouseMessage != WM_LBUTTONUP) return FALSE;
    SendMessageW(dialog, WM_APP_TRAY, 0, 0);
    return TRUE;
}

INT_PTR OnTray(HWND dialog, WPARAM toTray)
{
    if (toTray) {
        GoToTray(dialog, Window.Tray);
    } else {
        ComeBackFromTray(dialog, Window.Tray);
    }
    return TRUE;
}

// Moved to a monitor of another DPI, or its DPI changed. Per-monitor v2 rescales the dialog
// itself; per-monitor v1 (Windows 8.1 to 10 1607) leaves the window at its size in pixels, so
// it takes the size and place Windows suggests. Either way the margin follows.
INT_PTR OnDpiChanged(HWND dialog, WPARAM dpi, LPARAM suggested)
{
    Window.Dpi = LOWORD(dpi);
    if (DialogScalesItself(dialog)) return FALSE;
    const RECT& place = *reinterpret_cast<const RECT*>(suggested);
    SetWindowPos(dialog, NULL, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

// The shell has (re)started: the icon it lost comes back. A window that went to the taskbar
// because the notification area did not exist yet (started at sign-in before the shell) goes
// there now.
void OnTaskbarCreated(HWND dialog)
{
    if (TrayIconShown(Window.Tray)) {
        RestoreTrayIcon(dialog, Window.Tray);
    } else if (Settings().MinToTray && IsIconic(dialog)) {
        GoToTray(dialog, Window.Tray);
    }
}

// The session can end without WM_DESTROY: the clock is handed back now, and no later clock
// tick may take it again, or the machine-wide rate would stay changed until the next reboot.
INT_PTR OnEndSession(HWND dialog, WPARAM ending)
{
    if (!ending) return FALSE;
    KillTimer(dialog, TIMER_CLOCK);
    Window.Engine->RestoreClockAtExit();
    return TRUE;
}

INT_PTR OnDestroy()
{
    Window.Engine->RestoreClockAtExit();
    RemoveTrayIcon(Window.Tray);
    return FALSE;
}

// Registered messages; an identifier whose registration failed is 0 and matches nothing.
INT_PTR OnRegisteredMessage(HWND dialog, UINT message, LPARAM lParam)
{
    if (message == 0) return FALSE;
    if (message == Window.AnnounceMessage) {
        Window.Engine->TakeBroadcast(static_cast<int32_t>(lParam));
        return TRUE;
    }
    if (message == Window.TaskbarCreatedMessage) {
        OnTaskbarCreated(dialog);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_SIZE:
        return OnSize(dialog, wParam, lParam);
    case WM_COMMAND:
        // Esc, the close box, the system menu and Alt+F4 all arrive as IDCANCEL; Enter as IDOK.
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
        return FALSE;
    case WM_TIMER:
        return OnTimer(dialog, wParam);
    case WM_APP_REFRESH:
        RefreshList(GetDlgItem(dialog, IDC_SOURCELIST), *Window.Engine);
        return TRUE;
    case WM_APP_TRAYNOTIFY:
        return OnTrayNotify(dialog, wParam, lParam);
    case WM_APP_TRAY:
        return OnTray(dialog, wParam);
    case WM_DPICHANGED:
        return OnDpiChanged(dialog, wParam, lParam);
    case WM_ENDSESSION:
        return OnEndSession(dialog, wParam);
    case WM_DESTROY:
        return OnDestroy();
    default:
        return OnRegisteredMessage(dialog, message, lParam);
    }
}

void RunMainWindow(HINSTANCE instance, WatchEngine& engine, bool serviceSetsClock)
{
    Window.Engine = &engine;
    Window.ServiceSetsClock = serviceSetsClock;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), NULL, MainDialogProc, 0);
}
