// What the test host's scenarios share: the probe, loading the wrapper, a stream with a time
// packet, feeding it through the wrapper, and reading this process's announcement window.
#pragma once

#include "bon_driver.h"
#include "driver_probe.h"
#include "ts_stream_builder.h"

extern "C" __declspec(dllexport) TestDriverProbe QuellapTestProbe;

// The probe back to its defaults: level 1, results 1, the standard stream, counters 0.
void ResetProbe();

class LoadedWrapper {
public:
    LoadedWrapper() : Module(nullptr) {}
    ~LoadedWrapper() { Unload(); }
    bool Load(const WCHAR* path);
    void Unload();
    // The export's result; null when the library is not loaded.
    IBonDriver* Create();
    HMODULE Handle() const { return Module; }

private:
    HMODULE Module;
};

// The standard stream: 188-byte packets, one TOT among 80 filler packets, served in chunks
// of 10 packets. The time can be changed between chunks.
void UseStandardStream(const BroadcastTime& time);
void SetStreamTime(const BroadcastTime& time);
DWORD StandardStreamSize();
const BYTE* StandardStream();

// "CTsAnalyzer::OnTotUpdated(): YYYY-MM-DDThh:mm:ss\n" for the time.
void UpdateLine(const BroadcastTime& time, char (&line)[64]);

// One chunk through position 6 (the driver's pointer) or 7 (a buffer of the host's).
BOOL FeedChunk(IBonDriver* wrapper, int position = 6);
// Feeds chunks until the analyser reports `time` (its debug line); false when that does not
// happen within two passes over the stream.
bool FeedUntilUpdated(IBonDriver* wrapper, const BroadcastTime& time, int position = 6);
// The same, then waits up to ten seconds for this process's window to publish the time for
// `name`.
bool FeedUntilAnnounced(IBonDriver* wrapper, const BroadcastTime& time, const WCHAR* name,
                        int position = 6);

// This process's announcement window (other test processes may have their own), or null.
HWND OwnAnnounceWindow();
int CountOwnAnnounceWindows();
// The window's text, read the way other processes read it (WM_GETTEXT, one-second time-out).
bool ReadAnnounceText(HWND window, WCHAR (&text)[256]);
// True when the text is a time record of `time` (any tick) for the source `name`.
bool CarriesTime(const WCHAR* text, const BroadcastTime& time, const WCHAR* name);
// Waits up to `milliseconds` for the window to carry the time; a null window stands for this
// process's announcement window, whichever that is at the time (one may replace another).
bool WaitForAnnouncement(HWND window, const BroadcastTime& time, const WCHAR* name,
                         DWORD milliseconds);
// Waits up to `milliseconds` for the window to be gone.
bool WaitForWindowGone(HWND window, DWORD milliseconds);
