// The scan of announcement windows into the source table.
#pragma once

#include "announce_text.h"
#include "source_table.h"
#include "watch_settings.h"

constexpr DWORD AnnounceTextSize = AnnounceTextCapacity;  // UTF-16 units with the terminator

// The window operations a scan needs; on Windows message-only windows found by class name. An
// announcer is named by its key in the source table (KeyOf its window, on Windows).
class ScanPlatform {
public:
    // The announcer after `previous` (the first for BroadcastKey), or BroadcastKey after the last.
    virtual SourceKey NextAnnouncer(SourceKey previous) = 0;
    // The window's text; false when the request fails or times out. On success `length` is at
    // most AnnounceTextSize - 1 and the text is NUL-terminated there.
    virtual bool ReadText(SourceKey announcer, WCHAR (&text)[AnnounceTextSize], DWORD& length) = 0;
    // Long path of the owning process's executable, its length; 0 when it cannot be found.
    virtual DWORD OwnerModulePath(SourceKey announcer, WCHAR (&path)[ModulePathSize]) = 0;
    virtual bool Exists(SourceKey announcer) = 0;

protected:
    ~ScanPlatform() = default;
};

// Reads every announcement window once and updates its entry; then drops the entries of
// windows that no longer exist (never the broadcast record).
void ScanSources(ScanPlatform& platform, SourceTable& table, const WatchSettings& settings);

// One window's text: a time record creates or refreshes its entry, a no-time record erases it,
// anything else changes nothing.
void ApplyAnnounceText(ScanPlatform& platform, SourceTable& table, const WatchSettings& settings,
                       SourceKey key, const WCHAR* text, DWORD length);

void PruneSources(ScanPlatform& platform, SourceTable& table);
