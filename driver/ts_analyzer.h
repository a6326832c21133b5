// CTsAnalyzer: finds the packet boundaries of the transport stream that the wrapped driver
// delivers, decodes the TDT/TOT time tables on PID 0x0014 and hands every decoded time to
// OnTotUpdated. The framing and decoding (ts_sync.cpp, ts_time_decoder.cpp) are portable;
// the constructor, destructor and OnTotUpdated come from one of two files: the announcement
// window in the wrapper DLL, or the listener used by the inspector, tests, fuzzer and benchmark.
#pragma once

#include "win32_types.h"

#include <stdint.h>

// The analyser's latest decoded broadcast time.
struct TotSample {
    int64_t ReceivedTick;  // -1 until the first sample; then GetTickCount() (ms) widened without sign
    SYSTEMTIME BroadcastTime;  // broadcast wall-clock time as carried, wMilliseconds 0
    FILETIME BroadcastFileTime;  // the same instant, 100-ns units since 1601-01-01
};

class CTsAnalyzer {
public:
    explicit CTsAnalyzer(const WCHAR* name);
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

private:
    friend struct TsAnalyzerProbe;  // tests and the inspector look at the framing state

    // Constructor steps that both flavours share: counters, lock, empty sample, announcement
    // fields 0/NULL/false, the name cut to 63 characters.
    void InitFields(const WCHAR* name);
    void TakeUnsynchronised(const BYTE* data, DWORD size);
    void TakeSynchronised(const BYTE* data, DWORD size);
    static int DetectPacketSize(const BYTE* window);
    // Position of the first of eight sync bytes `size` apart, or -1.
    static int ConfirmSync(const BYTE* window, int size);
    void ProcessPacket(const BYTE* packet);
    void OnTotUpdated();

#ifdef _WIN32
public:
    // Closes the announcement window and waits at most 5000 ms until its thread is done with
    // the analyser and has left the library's code. False on time-out: that thread may still
    // use the analyser, which must then stay allocated.
    bool StopAnnouncing();

private:
    enum : UINT { PublishTrigger = WM_APP };        // sent to the window: publish the sample
    enum : DWORD { NotifyThreadWait = 5000 };       // ms, bound of every wait for the thread
    void StartNotifyThread();
    bool CollectEndedNotifyThread();
    void RunNotifyWindow();
    void Publish(HWND window);
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
    HANDLE NotifyReady;
    WCHAR DriverName[64];
    bool UpdatePending;
    bool TextChangeAllowed;
};
