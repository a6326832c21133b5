#include "time_scanner.h"

#include <string.h>

// Read access to the framing state that decides how much the next call may take.
struct TsAnalyzerProbe {
    static bool Synced(const CTsAnalyzer& a) { return a.Synced; }
    static int32_t PacketSize(const CTsAnalyzer& a) { return a.PacketSize; }
    static int32_t PacketFill(const CTsAnalyzer& a) { return a.PacketFill; }
    static int32_t WindowFill(const CTsAnalyzer& a) { return a.WindowFill; }
    static bool HasSample(const CTsAnalyzer& a) { return a.Sample.ReceivedTick >= 0; }
    static void ForgetSample(CTsAnalyzer& a) { a.Sample.ReceivedTick = -1; }
};

TimeScanner::TimeScanner(TimeScannerEvents& events) : events(events), analyzer(L"tstime") {}

// Unsynchronised, the window is filled exactly to each detection attempt, so that no input
// byte is passed over; synchronised, each call completes the current packet and brings the
// next sync byte.
void TimeScanner::Feed(const BYTE* data, size_t size) {
    while (size > 0) {
        const size_t room = TsAnalyzerProbe::Synced(analyzer)
            ? size_t(TsAnalyzerProbe::PacketSize(analyzer) + 1 - TsAnalyzerProbe::PacketFill(analyzer))
            : size_t(CTsAnalyzer::WindowSize - TsAnalyzerProbe::WindowFill(analyzer));
        const size_t step = size < room ? size : room;
        Step(data, step);
        data += step;
        size -= step;
    }
}

void TimeScanner::Step(const BYTE* data, size_t size) {
    const bool wasSynced = TsAnalyzerProbe::Synced(analyzer);
    // Whether this call stored a sample is read off the analyser itself, so that scanners on
    // several threads at once do not share anything.
    TsAnalyzerProbe::ForgetSample(analyzer);
    analyzer.OnGetTsStream(data, DWORD(size));
    consumed += size;
    Remember(data, size);
    const bool synced = TsAnalyzerProbe::Synced(analyzer);
    const int32_t packetSize = TsAnalyzerProbe::PacketSize(analyzer);
    if (!wasSynced && synced)
        events.Synchronised(consumed - uint64_t(TsAnalyzerProbe::PacketFill(analyzer)), packetSize);
    if (wasSynced && !synced)
        events.SyncLost(consumed - uint64_t(packetSize) - 1);
    if (!TsAnalyzerProbe::HasSample(analyzer))
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
