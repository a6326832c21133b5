// The calls the probe's slew makes; on Windows Get/SetSystemTimeAdjustment, the performance
// counter with the system time, and a wait that Ctrl+C or the console's closing cuts short.
#pragma once

#include <stdint.h>

#include "probe_facts.h"
#include "slew_plan.h"

class SlewClock {
public:
    // 0 when done, else the system's error code.
    virtual uint32_t ReadAdjustment(AdjustmentValues& values) = 0;
    // Adds `adjustment` (100 ns) per clock interrupt, or hands the clock back when `disabled`;
    // 0 when done, else the system's error code. Called from any thread.
    virtual uint32_t SetAdjustment(uint32_t adjustment, bool disabled) = 0;
    virtual ClockSample Sample() = 0;
    // Waits `msec` by the performance counter's time; false when the probe is to stop.
    virtual bool Wait(uint32_t msec) = 0;

protected:
    ~SlewClock() = default;
};
