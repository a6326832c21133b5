// The slew's clock calls on Windows.
#pragma once

#include <windows.h>

#include "slew_clock.h"

typedef void(WINAPI* PreciseTimeCall)(FILETIME* now);

// GetSystemTimePreciseAsFileTime (Windows 8 and later), or null.
PreciseTimeCall FindPreciseTimeCall();

class Win32SlewClock : public SlewClock {
public:
    Win32SlewClock();
    ~Win32SlewClock();
    Win32SlewClock(const Win32SlewClock&) = delete;
    Win32SlewClock& operator=(const Win32SlewClock&) = delete;

    // False when the event that stops the waits could not be made.
    bool Ready() const { return StopEvent != NULL; }
    // Ends the current wait and every later one; from any thread.
    void Stop();

    uint32_t ReadAdjustment(AdjustmentValues& values) override;
    uint32_t SetAdjustment(uint32_t adjustment, bool disabled) override;
    ClockSample Sample() override;
    bool Wait(uint32_t msec) override;

private:
    HANDLE StopEvent;
    PreciseTimeCall PreciseTime;
};
