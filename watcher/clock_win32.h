// The clock discipline on Windows: the real platform calls and the main window's timer and
// title.
#pragma once

#include "clock_timer.h"

class Win32ClockPlatform : public ClockPlatform {
public:
    DWORD TickCount() override;
    bool LocalFileTime(FILETIME& now) override;
    bool GetTimeAdjustment(TimeAdjustment& state) override;
    bool SetTimeAdjustment(DWORD adjustment, bool disabled) override;
};

class DialogClockWindow : public ClockWindow {
public:
    explicit DialogClockWindow(HWND dialog) : Dialog(dialog) {}
    void StartClockTimer(UINT periodMsec) override;
    void SetTitle(const WCHAR* title) override;

private:
    HWND Dialog;
};

// On the program-wide table, settings and IsAdjusting (see watcher_state.h).
void StepClockDiscipline();
void EnterClockMode(HWND dialog);
void OnClockTimer(HWND dialog);
void RestoreClockAtExit();

// At start-up in clock-setting mode, after the privilege step: hands back a slew left by a
// killed or crashed copy, and makes a crash of this one hand the clock back too.
void PrepareClockSetting();
