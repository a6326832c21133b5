// The watcher's clock in its test build, which is never shipped. Wine's time adjustment keeps
// nothing and always reads as disabled, so this clock plays what Windows would show, as the
// environment variable TestClockVariable chooses:
// - LeftoverSlew: the rate that a copy killed while slewing left, until the program hands it
//   back;
// - CrashWhileSlewing: an access violation at the step after the slewing began, raised in the
//   window procedure's WM_TIMER (a TIMERPROC would swallow it).
#pragma once

#include "clock_win32.h"

inline constexpr wchar_t TestClockVariable[] = L"QUELLAP_TEST_CLOCK";
inline constexpr wchar_t LeftoverSlew[] = L"leftover-slew";
inline constexpr wchar_t CrashWhileSlewing[] = L"crash-while-slewing";

class TestBuildClock : public Win32ClockPlatform {
public:
    bool GetTimeAdjustment(TimeAdjustment& state) override
    {
        if (Slewing && Chosen(CrashWhileSlewing)) *Nowhere = 0;
        if (!Win32ClockPlatform::GetTimeAdjustment(state)) return false;
        if (!HandedBack && Chosen(LeftoverSlew)) {
            state = {FastAdjustment(state.increment), state.increment, false};
        }
        return true;
    }
    bool SetTimeAdjustment(DWORD adjustment, bool disabled) override
    {
        if (!Win32ClockPlatform::SetTimeAdjustment(adjustment, disabled)) return false;
        Slewing = !disabled;
        HandedBack = HandedBack || disabled;
        return true;
    }

private:
    static bool Chosen(const wchar_t* mode)
    {
        wchar_t chosen[32];
        const DWORD length = GetEnvironmentVariableW(TestClockVariable, chosen, 32);
        return length > 0 && length < 32 && lstrcmpW(chosen, mode) == 0;
    }

    static inline volatile int* volatile Nowhere = nullptr;  // not known to be null: a real fault
    bool Slewing = false;
    bool HandedBack = false;
};
