// The clock discipline's platform calls on Windows.
#pragma once

#include "clock_discipline.h"

class Win32ClockPlatform : public ClockPlatform {
public:
    DWORD TickCount() override;
    bool LocalFileTime(FILETIME& now) override;
    bool GetTimeAdjustment(TimeAdjustment& state) override;
    bool SetTimeAdjustment(DWORD adjustment, bool disabled) override;
};
