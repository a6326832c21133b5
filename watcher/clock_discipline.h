// Slewing the system clock toward the trusted sources' average offset.
#pragma once

#include <stdint.h>

#include "source_table.h"

// The platform calls the discipline makes; on Windows GetTickCount, GetLocalTime with
// SystemTimeToFileTime, and Get/SetSystemTimeAdjustment.
class ClockPlatform {
public:
    virtual DWORD TickCount() = 0;  // ms, wraps after 2^32
    // Local wall-clock time, 100 ns since 1601; false when it cannot be had.
    virtual bool LocalFileTime(FILETIME& now) = 0;
    // The system's time increment per clock interrupt, 100 ns.
    virtual bool GetTimeAdjustment(DWORD& increment) = 0;
    // Adds `adjustment` (100 ns) per clock interrupt, or hands the clock back when `disabled`.
    virtual bool SetTimeAdjustment(DWORD adjustment, bool disabled) = 0;

protected:
    ~ClockPlatform() = default;
};

constexpr DWORD SourceMaxAgeMsec = 100000;  // older samples do not count
constexpr int64_t StartBandMsec = 1000;     // idle: start slewing beyond this average offset
constexpr int64_t StopBandMsec = 99;        // slewing: hand back within this average offset

// Average offset (ms, positive when the sources are ahead of the local clock) of the trusted
// records younger than SourceMaxAgeMsec, each carried forward by its age and corrected by
// `totDelayMsec`; 0 when none counts.
int64_t AverageOffsetMsec(const SourceTable& table, DWORD nowTick, const FILETIME& now,
                          int32_t totDelayMsec);

// One step: starts, re-sets or ends the system time adjustment. `isAdjusting` is true exactly
// while this program's own adjustment is installed. Without a local time the step does nothing.
void StepClockDiscipline(ClockPlatform& platform, const SourceTable& table, int32_t totDelayMsec,
                         bool& isAdjusting);
