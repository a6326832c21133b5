#include "time_scanner.h"

#include <string.h>

TimeScanner::TimeScanner(TimeScannerEvents& events) : events(events), analyzer(L"tstime", *this) {}

// Unsynchronised, the window is filled exactly to each detection attempt, so that no input
// byte is passed over; synchronised, each call completes the current packet and brings the
// next sync byte.
void TimeScanner::Feed(const BYTE* data, size_t size) {
    while (size > 0) {
        const TsFraming framing = analyzer.Framing();
        const size_t room = framing.Synced ? size_t(framing.PacketSize + 1 - framing.PacketFill)
                                           : size_t(CTsAnalyzer::WindowSize - framing.WindowFill);
        const size_t step = size < room ? size : room;
        Step(data, step);
        data += step;
        size -= step;
    }
}

void TimeScanner::Step(const BYTE* data, size_t size) {
    const bool wasSynced = analyzer.Framing().Synced;
    stored = false;
    analyzer.OnGetTsStream(data, DWORD(size));
    consumed += size;
    Remember(data, size);
    const TsFraming framing = analyzer.Framing();
    const int32_t packetSize = framing.PacketSize;
    if (!wasSynced && framing.Synced)
        events.Synchronised(consumed - uint64_t(framing.PacketFill), packetSize);
    if (wasSynced && !framing.Synced)
        events.SyncLost(consumed - uint64_t(packetSize) - 1);
    if (!stored)
        return;
    // The stored packet was completed by this call: it and the next sync byte end the input.
    const BYTE* packet = history + historyFill - (packetSize + 1);
    BYTE tableId;
    SYSTEMTIME time;
    FILETIME fileTime;
    if (CTsAnalyzer::ReadTimePacket(packet, tableId, time, fileTime))
        events.TimeDecoded(consumed - uint64_t(packetSize) - 1, tableId, time);
}

void TimeScanner::Remember(const BYTE* data, size_t size) {
    if (size >= HistorySize) {
        memcpy(history, data + size - HistorySize, HistorySize);
        historyFill = HistorySize;
        return;
    }
    const size_t keep = historyFill + size > HistorySize ? HistorySize - size : historyFill;
    memmove(history, history + historyFill - keep, keep);
    memcpy(history + keep, data, size);
    historyFill = keep + size;
}
