// Test access to CTsAnalyzer's framing state, and sinks for the samples it stores.
#pragma once

#include "ignored_samples.h"

#include <stdint.h>

#include <vector>

struct TsAnalyzerProbe {
    static bool Synced(const CTsAnalyzer& a) { return a.Framing().Synced; }
    static int32_t PacketSize(const CTsAnalyzer& a) { return a.Framing().PacketSize; }
    static int32_t PacketFill(const CTsAnalyzer& a) { return a.Framing().PacketFill; }
    static int32_t WindowFill(const CTsAnalyzer& a) { return a.Framing().WindowFill; }
    static const BYTE* PacketBuffer(const CTsAnalyzer& a) { return a.HeldPacket(); }
    static const WCHAR* DriverName(const CTsAnalyzer& a) { return a.Name(); }
    static TotSample Sample(CTsAnalyzer& a) { return a.LatestSample(); }
    static int Detect(const BYTE* window) { return CTsAnalyzer::DetectPacketSize(window); }
    static int Confirm(const BYTE* window, int size) { return CTsAnalyzer::ConfirmSync(window, size); }
    static void Process(CTsAnalyzer& a, const BYTE* packet) { a.ProcessPacket(packet); }
};

// Collects every sample its analysers store.
class SampleRecorder : public ITotSink {
public:
    std::vector<TotSample> samples;

    void OnTotUpdated(CTsAnalyzer&, const TotSample& sample) override { samples.push_back(sample); }
};
