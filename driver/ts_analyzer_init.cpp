// The constructor steps that the announcing and the listening flavour of CTsAnalyzer share.
#include "ts_analyzer.h"

void CTsAnalyzer::InitFields(const WCHAR* name) {
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
