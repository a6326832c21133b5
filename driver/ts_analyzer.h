// CTsAnalyzer: finds the packet boundaries of the transport stream that the wrapped driver
// delivers, decodes the TDT/TOT time tables on PID 0x0014 and hands every decoded time to
// OnTotUpdated, which passes it to the analyser's sink. The framing, decoding and the class's
// life (ts_sync.cpp, ts_time_decoder.cpp, ts_analyzer.cpp) are portable; the announcement window
// that the wrapper's sink runs (ts_analyzer_announce.cpp, announce_window.cpp) is the wrapper's.
#pragma once

#include "win32_types.h"

#include <stdint.h>

// The analyser's latest decoded broadcast time.
struct TotSample {
    int64_t ReceivedTick;  // -1 until the first sample; then GetTickCount() (ms) widened without sign
    SYSTEMTIME BroadcastTime;  // broadcast wall-clock time as carried, wMilliseconds 0
    FILETIME BroadcastFileTime;  // the same instant, 100-ns units since 1601-01-01
};

class CTsAnalyzer;

// What becomes of an analyser's samples, chosen when the analyser is made: the wrapper announces
// them to other processes, the tools record them.
class ITotSink {
public:
    // A new sample is stored in `analyzer`. Runs on the streaming thread with the analyser's
    // Lock held, so it must never wait.
    virtual void OnTotUpdated(CTsAnalyzer& analyzer, const TotSample& sample) = 0;
    // `analyzer` is being destroyed; whatever serves it ends before its lock goes.
    virtual void OnAnalyzerEnd(CTsAnalyzer&) {}

protected:
    ~ITotSink() = default;
};

// The framing fields as they stand between two calls.
struct TsFraming {
    bool Synced;
    int32_t PacketSize;
    int32_t PacketFill;
    int32_t WindowFill;
};

class CTsAnalyzer {
public:
    // `sink` outlives the analyser.
    CTsAnalyzer(const WCHAR* name, ITotSink& sink);
    ~CTsAnalyzer();
    CTsAnalyzer(const CTsAnalyzer&) = delete;
    CTsAnalyzer& operator=(const CTsAnalyzer&) = delete;

    // One chunk as a successful GetTsStream delivered it; only reads it.
    void OnGetTsStream(const BYTE* data, DWORD size);

    enum : int { WindowSize = 4096, SyncByte = 0x47, MinPacketSize = 188, MaxPacketSize = 319 };

    // Decodes the 5-byte UTC_time field; false for the undefined time (all bits one).
    static bool DecodeUtcTime(const BYTE* utcTime, SYSTEMTIME& time);
    static void MjdToDate(WORD mjd, WORD& year, WORD& month, WORD& day, WORD& dayOfWeek);
    static WORD BcdToBinary(BYTE bcd);
    // The tests of ProcessPacket short of storing: true when `packet` starts a TDT or TOT
    // section on PID 0x0014 with a valid time; then fills the three outputs.
    static bool ReadTimePacket(const BYTE* packet, BYTE& tableId, SYSTEMTIME& time, FILETIME& fileTime);
    // The packet size found in a window of WindowSize fresh bytes, or 0.
    static int DetectPacketSize(const BYTE* window);
    // Position of the first of eight sync bytes `size` apart, or -1.
    static int ConfirmSync(const BYTE* window, int size);
    // One whole packet, followed by at least one readable byte: a time table on PID 0x0014 is
    // stored as the sample and handed on.
    void ProcessPacket(const BYTE* packet);

    // What the inspector and the tests read; the streaming thread alone changes these.
    TsFraming Framing() const { return {Synced, PacketSize, PacketFill, WindowFill}; }
    // The start of the packet that straddles a chunk boundary.
    const BYTE* HeldPacket() const { return PacketBuffer; }
    const WCHAR* Name() const { return DriverName; }
    // The latest sample, copied under Lock.
    TotSample LatestSample();

private:
    void TakeUnsynchronised(const BYTE* data, DWORD size);
    void TakeSynchronised(const BYTE* data, DWORD size);
    void OnTotUpdated();

#ifdef _WIN32
public:
    enum : DWORD { NotifyThreadWait = 5000 };  // ms, the usual bound of a wait for the thread

    // The announcement, run by the wrapper's sink (announcer.h). Announce: a new sample is to be
    // published (Lock held). StopAnnouncing: tells the notification thread to end, which
    // destroys its window, and waits at most `bound` ms until that thread is done with the
    // analyser and has left the library's code; false on time-out: that thread may still use the
    // analyser, which must then stay allocated. EndAnnouncing: stops it and frees what served it.
    void Announce();
    bool StopAnnouncing(DWORD bound);
    void EndAnnouncing();

private:
    // The announcement's registered message and events, made at the first announcement.
    bool PrepareAnnouncing();
    enum : UINT { PublishTrigger = WM_APP };  // sent to the window: publish the sample
    // NotifyWindow is written by the notification thread; read it afresh every time.
    HWND CurrentNotifyWindow() const {
        return *static_cast<const volatile HWND*>(&NotifyWindow);
    }
    void EnsureNotifyThread();
    void StartNotifyThread();
    void RunNotifyThread();
    bool PumpNotifyMessages();
    void Republish(HWND window);
    void Publish(HWND window);
    static CTsAnalyzer* WindowOwner(HWND window);
    static DWORD WINAPI NotifyThreadProc(LPVOID analyzer);
    static LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
#endif

    BYTE SyncWindow[WindowSize];
    BYTE PacketBuffer[MaxPacketSize + 2];
    int32_t WindowFill;
    int32_t PacketFill;
    int32_t PacketSize;
    bool Synced;
    CRITICAL_SECTION Lock;
    TotSample Sample;
    UINT AnnounceMessageId;
    HWND NotifyWindow;
    HANDLE NotifyThread;
    HANDLE NotifyReady;  // set once by each notification thread, when its first window exists
    HANDLE NotifyEnded;  // set once by each notification thread, as its very last act
    HANDLE NotifyStop;   // set by the teardown: the notification thread is to end
    WCHAR DriverName[64];
    bool UpdatePending;
    bool TextChangeAllowed;
    ITotSink& Sink;
};
