#include "clock_win32.h"

#include <stdlib.h>

#include <exception>

#include "watcher_state.h"

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter;
std::terminate_handler PreviousTerminate;

// An unhandled exception ends the process without WM_DESTROY; whoever handled crashes before
// (the system's error report, by default) still does.
LONG WINAPI HandBackOnCrash(EXCEPTION_POINTERS* exception)
{
    RestoreClockAtExit();
    return PreviousCrashFilter ? PreviousCrashFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// An uncaught C++ exception (out of memory in the source table) ends in std::terminate, which
// aborts without passing the filter above.
void HandBackOnTerminate()
{
    RestoreClockAtExit();
    if (PreviousTerminate) PreviousTerminate();
    abort();
}

}  // namespace

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

bool Win32ClockPlatform::GetTimeAdjustment(TimeAdjustment& state)
{
    BOOL disabled = FALSE;
    if (!GetSystemTimeAdjustment(&state.adjustment, &state.increment, &disabled)) return false;
    state.disabled = disabled != FALSE;
    return true;
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

void PrepareClockSetting()
{
    Win32ClockPlatform platform;
    HandBackLeftoverSlew(platform);
    PreviousCrashFilter = SetUnhandledExceptionFilter(HandBackOnCrash);
    PreviousTerminate = std::set_terminate(HandBackOnTerminate);
}
