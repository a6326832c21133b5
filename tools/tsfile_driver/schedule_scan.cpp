#include "schedule_scan.h"

#include "filetime.h"

void ScheduleScan::TimeDecoded(uint64_t packet, BYTE, const SYSTEMTIME& time) {
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&time, &fileTime))
        return;
    const int64_t units = int64_t(FileTimeValue(fileTime));
    succeeded = schedule.AddTimePoint(packet, units / 10000) && succeeded;  // 100 ns to ms
}
