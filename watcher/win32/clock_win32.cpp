#include "clock_win32.h"

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
