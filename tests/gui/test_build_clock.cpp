#include "test_build_clock.h"

namespace {

bool Chosen(const wchar_t* mode)
{
    wchar_t chosen[32];
    const DWORD length = GetEnvironmentVariableW(TestClockVariable, chosen, 32);
    return length > 0 && length < 32 && lstrcmpW(chosen, mode) == 0;
}

}  // namespace

bool TestBuildClock::GetTimeAdjustment(TimeAdjustment& state)
{
    if (Slewing && Chosen(CrashWhileSlewing)) {
        volatile int* volatile nowhere = nullptr;
        *nowhere = 0;
    }
    if (!Win32ClockPlatform::GetTimeAdjustment(state)) return false;
    if (!HandedBack && Chosen(LeftoverSlew)) {
        state.adjustment = FastAdjustment(state.increment);
        state.disabled = false;
    }
    return true;
}

bool TestBuildClock::SetTimeAdjustment(DWORD adjustment, bool disabled)
{
    if (!Win32ClockPlatform::SetTimeAdjustment(adjustment, disabled)) return false;
    Slewing = !disabled;
    HandedBack = HandedBack || disabled;
    return true;
}
