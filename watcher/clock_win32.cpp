#include "clock_win32.h"

#include "watcher_state.h"

DWORD Win32ClockPlatform::TickCount()
{
    return GetTickCount();
}

bool Win32ClockPlatform::LocalFileTime(FILETIME& now)
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    return SystemTimeToFileTime(&local, &now) != FALSE;
}

bool Win32ClockPlatform::GetTimeAdjustment(DWORD& increment)
{
    DWORD adjustment = 0;
    BOOL disabled = FALSE;
    return GetSystemTimeAdjustment(&adjustment, &increment, &disabled) != FALSE;
}

bool Win32ClockPlatform::SetTimeAdjustment(DWORD adjustment, bool disabled)
{
    return SetSystemTimeAdjustment(adjustment, disabled ? TRUE : FALSE) != FALSE;
}

void DialogClockWindow::StartClockTimer(UINT periodMsec)
{
    SetTimer(Dialog, TIMER_CLOCK, periodMsec, NULL);
}

void DialogClockWindow::SetTitle(const WCHAR* title)
{
    SetWindowTextW(Dialog, title);
}

void StepClockDiscipline()
{
    Win32ClockPlatform platform;
    StepClockDiscipline(platform, Sources, Settings.TotDelayMsec, IsAdjusting);
}

void EnterClockMode(HWND dialog)
{
    DialogClockWindow window(dialog);
    EnterClockMode(window);
}

void OnClockTimer(HWND dialog)
{
    Win32ClockPlatform platform;
    DialogClockWindow window(dialog);
    OnClockTimer(platform, window, Sources, Settings.TotDelayMsec, IsAdjusting);
}

void RestoreClockAtExit()
{
    Win32ClockPlatform platform;
    RestoreClockAtExit(platform, IsAdjusting);
}
