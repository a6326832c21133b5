// Test access to CTsAnalyzer's framing state and private operations, and a recorder of the
// samples it stores.
#pragma once

#include "tot_listener.h"

#include <stdint.h>

#include <vector>

struct TsAnalyzerProbe {
    static bool Synced(const CTsAnalyzer& a) { return a.Synced; }
    static int32_t PacketSize(const CTsAnalyzer& a) { return a.PacketSize; }
    static int32_t PacketFill(const CTsAnalyzer& a) { return a.PacketFill; }
    static int32_t WindowFill(const CTsAnalyzer& a) { return a.WindowFill; }
    static const BYTE* PacketBuffer(const CTsAnalyzer& a) { return a.PacketBuffer; }
    static const WCHAR* DriverName(const CTsAnalyzer& a) { return a.DriverName; }
    static TotSample Sample(const CTsAnalyzer& a) { return a.Sample; }
    static int Detect(const BYTE* window) { return CTsAnalyzer::DetectPacketSize(window); }
    static int Confirm(const BYTE* window, int size) { return CTsAnalyzer::ConfirmSync(window, size); }
    static void Process(CTsAnalyzer& a, const BYTE* packet) { a.ProcessPacket(packet); }
};

// Collects every sample that any analyser stores while it exists.
class SampleRecorder {
public:
    SampleRecorder() { SetTotListener(&Record, this); }
    ~SampleRecorder() { SetTotListener(nullptr, nullptr); }
    SampleRecorder(const SampleRecorder&) = delete;
    SampleRecorder& operator=(const SampleRecorder&) = delete;

    std::vector<TotSample> samples;

private:
    static void Record(void* context, const TotSample& sample) {
        static_cast<SampleRecorder*>(context)->samples.push_back(sample);
    }
};
