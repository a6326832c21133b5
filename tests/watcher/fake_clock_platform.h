// A scripted clock platform that records every call the discipline makes.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "clock_discipline.h"
#include "clock_view.h"

class FakeClockPlatform : public ClockPlatform {
public:
    DWORD tick = 0;
    uint64_t now = 0;  // FILETIME value
    bool localTimeWorks = true;
    bool getWorks = true;
    bool setWorks = true;
    DWORD increment = 156250;
    DWORD adjustment = 156250;  // as reported
    bool adjustmentDisabled = true;
    std::vector<std::string> calls;
    std::vector<DWORD> adjustments;  // every SetTimeAdjustment with disabled = false
    int handBacks = 0;               // every SetTimeAdjustment with disabled = true

    DWORD TickCount() override
    {
        calls.push_back("tick");
        return tick;
    }
    bool LocalFileTime(FILETIME& time) override
    {
        calls.push_back("local");
        time.dwLowDateTime = static_cast<DWORD>(now);
        time.dwHighDateTime = static_cast<DWORD>(now >> 32);
        return localTimeWorks;
    }
    bool GetTimeAdjustment(TimeAdjustment& state) override
    {
        calls.push_back("get");
        state = {adjustment, increment, adjustmentDisabled};
        return getWorks;
    }
    bool SetTimeAdjustment(DWORD value, bool disabled) override
    {
        calls.push_back(disabled ? "handback" : "set");
        if (disabled) ++handBacks;
        else adjustments.push_back(value);
        return setWorks;
    }
};

class FakeClockWindow : public ClockWindow {
public:
    std::vector<UINT> periods;
    std::wstring title = L"Horavant";

    void StartClockTimer(UINT periodMsec) override { periods.push_back(periodMsec); }
    void SetTitle(const WCHAR* text) override { title = text; }
};
