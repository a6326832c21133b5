// Collects the time points of a transport-stream file into a schedule by running its bytes,
// in pieces of any size, through the stream core (the inspector's scanner, which knows the byte
// offset of every time table it decodes).
#pragma once

#include "play_schedule.h"
#include "time_scanner.h"

class ScheduleScan : private TimeScannerEvents {
public:
    explicit ScheduleScan(PlaySchedule& schedule) : schedule(schedule), scanner(*this) {}

    void Feed(const BYTE* data, size_t size) { scanner.Feed(data, size); }
    // False when the schedule ran out of memory.
    bool Succeeded() const { return succeeded; }

private:
    void Synchronised(uint64_t, int) override {}
    void SyncLost(uint64_t) override {}
    void TimeDecoded(uint64_t packet, BYTE tableId, const SYSTEMTIME& time) override;

    PlaySchedule& schedule;
    TimeScanner scanner;
    bool succeeded = true;
};
