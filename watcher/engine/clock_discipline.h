// Slewing the system clock toward the trusted sources' average offset.
#pragma once

#include <stdint.h>

#include "source_table.h"

// What GetSystemTimeAdjustment reports; both amounts in 100 ns per clock interrupt.
struct TimeAdjustment {
    DWORD adjustment;  // added to the time at each interrupt while enabled
    DWORD increment;   // the interrupt's own interval
    bool disabled;     // true: the system keeps the time itself
};

// The platform calls the discipline makes; on Windows GetTickCount, GetLocalTime with
// SystemTimeToFileTime, and Get/SetSystemTimeAdjustment.
class ClockPlatform {
public:
    virtual DWORD TickCount() = 0;  // ms, wraps after 2^32
    // Local wall-clock time, 100 ns since 1601; false when it cannot be had.
    virtual bool LocalFileTime(FILETIME& now) = 0;
    virtual bool GetTimeAdjustment(TimeAdjustment& state) = 0;
    // Adds `adjustment` (100 ns) per clock interrupt, or hands the clock back when `disabled`.
    virtual bool SetTimeAdjustment(DWORD adjustment, bool disabled) = 0;

protected:
    ~ClockPlatform() = default;
};

// The only two rates this program sets: twice the normal rate while the clock is behind, one
// fifth of it (rounded down) while it is ahead.
inline DWORD FastAdjustment(DWORD increment)
{
    return increment * 2;
}
inline DWORD SlowAdjustment(DWORD increment)
{
    return increment / 5;
}

constexpr DWORD SourceMaxAgeMsec = 100000;  // older samples do not count
constexpr int64_t StartBandMsec = 1000;     // idle: start slewing beyond this average offset
constexpr int64_t StopBandMsec = 99;        // slewing: hand back within this average offset

// The average offset (ms, positive when the sources are ahead of the local clock) of the trusted
// records whose accepted sample is younger than SourceMaxAgeMsec, and how many records made it.
struct OffsetAverage {
    int64_t msec;
    int32_t sources;
};

// Each accepted sample is carried forward by its age and corrected by `totDelayMsec`; 0 when
// none counts.
OffsetAverage AverageOffset(const SourceTable& table, DWORD nowTick, const FILETIME& now,
                            int32_t totDelayMsec);

// One step: starts, re-sets or ends the system time adjustment. `isAdjusting` is true exactly
// while this program's own adjustment is installed. Without a local time the step does nothing
// and returns no sources; otherwise it returns the average it acted on.
OffsetAverage StepClockDiscipline(ClockPlatform& platform, const SourceTable& table,
                                  int32_t totDelayMsec, bool& isAdjusting);
