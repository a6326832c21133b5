// The watcher's clock in its test build, which is never shipped. Wine's time adjustment keeps
// nothing and always reads as disabled, so this clock plays what Windows would show, as the
// environment variable TestClockVariable chooses:
// - LeftoverSlew: the adjustment at twice the rate that a copy killed while slewing left
//   behind, until the program hands it back;
// - CrashWhileSlewing: an access violation at the first step after the slewing began, raised
//   in the window procedure's WM_TIMER (a TIMERPROC would swallow it).
#pragma once

#include "clock_win32.h"

inline constexpr wchar_t TestClockVariable[] = L"QUELLAP_TEST_CLOCK";
inline constexpr wchar_t LeftoverSlew[] = L"leftover-slew";
inline constexpr wchar_t CrashWhileSlewing[] = L"crash-while-slewing";

class TestBuildClock : public Win32ClockPlatform {
public:
    bool GetTimeAdjustment(TimeAdjustment& state) override;
    bool SetTimeAdjustment(DWORD adjustment, bool disabled) override;

private:
    bool Slewing = false;
    bool HandedBack = false;
};
