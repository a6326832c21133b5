#include "clock_discipline.h"

#include "filetime.h"

namespace {

constexpr int64_t FileTimeUnitsPerMsec = 10000;

DWORD SlewAdjustment(int64_t averageMsec, DWORD increment)
{
    return averageMsec >= 0 ? FastAdjustment(increment) : SlowAdjustment(increment);
}

}  // namespace

OffsetAverage AverageOffset(const SourceTable& table, DWORD nowTick, const FILETIME& now,
                            int32_t totDelayMsec)
{
    int64_t sum = 0;
    int32_t count = 0;
    for (const auto& entry : table) {
        const SourceRecord& record = entry.second;
        const TimeSample& sample = record.acceptance.accepted;
        const DWORD elapsed = nowTick - sample.tick;  // modulo 2^32: survives the wrap
        if (elapsed >= SourceMaxAgeMsec || !record.trusted) continue;
        const int64_t difference =
            static_cast<int64_t>(FileTimeValue(sample.fileTime) - FileTimeValue(now));
        sum += difference / FileTimeUnitsPerMsec + elapsed + totDelayMsec;
        ++count;
    }
    return {count > 0 ? sum / count : 0, count};
}

OffsetAverage StepClockDiscipline(ClockPlatform& platform, const SourceTable& table,
                                  int32_t totDelayMsec, bool& isAdjusting)
{
    const DWORD nowTick = platform.TickCount();
    FILETIME now;
    if (!platform.LocalFileTime(now)) return {0, 0};
    const OffsetAverage found = AverageOffset(table, nowTick, now, totDelayMsec);
    const int64_t average = found.msec;

    if (isAdjusting && average >= -StopBandMsec && average <= StopBandMsec) {
        if (platform.SetTimeAdjustment(0, true)) isAdjusting = false;
        return found;
    }
    if (!isAdjusting && average >= -StartBandMsec && average <= StartBandMsec) return found;

    TimeAdjustment state;
    if (!platform.GetTimeAdjustment(state)) return found;
    if (platform.SetTimeAdjustment(SlewAdjustment(average, state.increment), false)) {
        isAdjusting = true;
    }
    return found;
}
