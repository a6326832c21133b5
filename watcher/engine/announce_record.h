// Reading of an announcement window's text: a time record or a no-time record.
#pragma once

#include "win32_types.h"

enum class AnnounceKind {
    Time,    // 'Y': the source announces a time
    NoTime,  // 'N': the source withdraws its time
};

struct AnnounceRecord {
    AnnounceKind kind;
    DWORD tick;         // GetTickCount() of the announcing process at reception, ms
    FILETIME fileTime;  // announced wall-clock time, 100 ns since 1601, no zone conversion
    const WCHAR* name;  // into the text, not NUL-terminated there
    DWORD nameLength;   // up to the text's end; may be 0 or longer than a name may be
};

// `text` holds `length` characters (more are never read; a NUL ends it earlier). False for a
// text the watcher ignores; `record` is reset first and filled only on success. A no-time record
// carries no tick, time or name.
bool ParseAnnounceText(const WCHAR* text, DWORD length, AnnounceRecord* record);
