#include "slew_clock_win32.h"

PreciseTimeCall FindPreciseTimeCall()
{
    return reinterpret_cast<PreciseTimeCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
}

Win32SlewClock::Win32SlewClock()
    : StopEvent(CreateEventW(NULL, TRUE, FALSE, NULL)), PreciseTime(FindPreciseTimeCall())
{
}

Win32SlewClock::~Win32SlewClock()
{
    if (StopEvent != NULL) CloseHandle(StopEvent);
}

void Win32SlewClock::Stop()
{
    SetEvent(StopEvent);
}

uint32_t Win32SlewClock::ReadAdjustment(AdjustmentValues& values)
{
    DWORD adjustment = 0, increment = 0;
    BOOL disabled = TRUE;
    if (!GetSystemTimeAdjustment(&adjustment, &increment, &disabled)) return GetLastError();
    values = {adjustment, increment, disabled != FALSE};
    return 0;
}

uint32_t Win32SlewClock::SetAdjustment(uint32_t adjustment, bool disabled)
{
    return SetSystemTimeAdjustment(adjustment, disabled ? TRUE : FALSE) ? 0 : GetLastError();
}

ClockSample Win32SlewClock::Sample()
{
    // Without the precise call the system time moves in whole clock interrupts.
    FILETIME now;
    LARGE_INTEGER counter;
    if (PreciseTime != nullptr) {
        PreciseTime(&now);
    } else {
        GetSystemTimeAsFileTime(&now);
    }
    QueryPerformanceCounter(&counter);
    return {counter.QuadPart, static_cast<int64_t>(static_cast<uint64_t>(now.dwHighDateTime) << 32 |
                                                   now.dwLowDateTime)};
}

bool Win32SlewClock::Wait(uint32_t msec)
{
    return WaitForSingleObject(StopEvent, msec) == WAIT_TIMEOUT;
}
