// Runs a transport stream through CTsAnalyzer and reports where it synchronised, where it lost
// synchronisation and every time it decoded, with the byte offset of the packet in the input.
// The analyser is fed so that each call completes at most one packet, which tells which
// packet a stored sample came from; the input may arrive in pieces of any size.
#pragma once

#include "ts_analyzer.h"

#include <stddef.h>
#include <stdint.h>

class TimeScannerEvents {
public:
    virtual void Synchronised(uint64_t firstPacket, int packetSize) = 0;
    virtual void SyncLost(uint64_t packet) = 0;
    virtual void TimeDecoded(uint64_t packet, BYTE tableId, const SYSTEMTIME& time) = 0;

protected:
    ~TimeScannerEvents() = default;
};

class TimeScanner : private ITotSink {
public:
    explicit TimeScanner(TimeScannerEvents& events);
    TimeScanner(const TimeScanner&) = delete;
    TimeScanner& operator=(const TimeScanner&) = delete;

    void Feed(const BYTE* data, size_t size);

private:
    // Hands the analyser the next `size` bytes (at most one packet's worth while synchronised).
    void Step(const BYTE* data, size_t size);
    void Remember(const BYTE* data, size_t size);
    void OnTotUpdated(CTsAnalyzer&, const TotSample&) override { stored = true; }

    TimeScannerEvents& events;
    CTsAnalyzer analyzer;
    bool stored = false;  // the analyser stored a sample during the present call
    uint64_t consumed = 0;  // input bytes handed to the analyser
    // The last input bytes, enough for the largest packet and the next sync byte.
    enum { HistorySize = CTsAnalyzer::MaxPacketSize + 2 };
    BYTE history[HistorySize];
    size_t historyFill = 0;
};
