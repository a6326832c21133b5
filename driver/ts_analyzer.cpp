// CTsAnalyzer's life and its hand-over of every new sample to the sink it was made with.
#include "ts_analyzer.h"

CTsAnalyzer::CTsAnalyzer(const WCHAR* name, ITotSink& sink) : Sink(sink) {
    WindowFill = 0;
    PacketFill = 0;
    PacketSize = 0;
    Synced = false;
    InitializeCriticalSection(&Lock);
    Sample.ReceivedTick = -1;  // no sample yet
    AnnounceMessageId = 0;
    NotifyWindow = nullptr;
    NotifyThread = nullptr;
    NotifyReady = nullptr;
    NotifyEnded = nullptr;
    NotifyStop = nullptr;
    UpdatePending = false;
    TextChangeAllowed = false;
    // At most 63 characters and the terminating NUL, as lstrcpynW with a limit of 64 copies.
    const int capacity = int(sizeof DriverName / sizeof DriverName[0]);
    int length = 0;
    for (; length < capacity - 1 && name[length]; ++length)
        DriverName[length] = name[length];
    DriverName[length] = 0;
}

CTsAnalyzer::~CTsAnalyzer() {
    Sink.OnAnalyzerEnd(*this);
    OutputDebugStringW(L"CTsAnalyzer::~CTsAnalyzer(): Done\n");
    DeleteCriticalSection(&Lock);
}

// Runs on the streaming thread with Lock held.
void CTsAnalyzer::OnTotUpdated() {
    Sink.OnTotUpdated(*this, Sample);
}

TotSample CTsAnalyzer::LatestSample() {
    EnterCriticalSection(&Lock);
    const TotSample sample = Sample;
    LeaveCriticalSection(&Lock);
    return sample;
}
