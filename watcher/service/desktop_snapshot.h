// The scan of a service, which reaches the announcement windows of every desktop of its
// session: a desktop of another window station can only be searched from a thread attached to
// it, so each scan first gathers every window and its text, and the engine then scans that
// snapshot with its own rules (trust decided once, repeated ticks, pruning).
#pragma once

#include <stddef.h>

#include <vector>

#include "source_scanner.h"

struct AnnouncerSnapshot {
    HWND window;
    bool answered;  // false: the text request failed or timed out
    DWORD length;   // of `text`, without its terminator
    WCHAR text[AnnounceTextSize];
};

class SnapshotScanPlatform : public ScanPlatform {
public:
    // `live` answers what does not depend on the desktop: a window's owner and whether it
    // still exists.
    explicit SnapshotScanPlatform(ScanPlatform& live) : Live(live) {}

    std::vector<AnnouncerSnapshot> Windows;  // the last gathering, in its order

    HWND NextAnnouncer(HWND previous) override;
    bool ReadText(HWND window, WCHAR (&text)[AnnounceTextSize], DWORD& length) override;
    DWORD OwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize]) override;
    bool Exists(HWND window) override;

private:
    // The window's place in the snapshot, or its size when it is not there. The scan asks for
    // the window it was just given, so this is found at once.
    size_t IndexOf(HWND window) const;

    ScanPlatform& Live;
    size_t Cursor = 0;
};
