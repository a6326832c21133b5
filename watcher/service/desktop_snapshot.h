// The scan of a service, which reaches the announcement windows of every desktop of its
// session: a desktop of another window station can only be searched from a thread attached to
// it, so each scan first gathers every window and its text, and the engine then scans that
// snapshot with its own rules (trust decided once, repeated ticks, pruning). The relays of the
// signed-in users' sessions add what they saw on their desktops.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "source_scanner.h"

struct AnnouncerSnapshot {
    SourceKey key;  // KeyOf the window, or RelayedKey for a window of a relay's session
    bool answered;  // false: the text request failed or timed out
    DWORD length;   // of `text`, without its terminator
    WCHAR text[AnnounceTextSize];
    DWORD processId;  // the window's owner, as the gathering saw it
    DWORD readTick;   // GetTickCount() when the text was read, ms
    // A relayed window's owner, as the service itself found it (empty: unknown).
    std::wstring relayedOwner;
};

// Window handles are significant in their low 32 bits on every Windows; the key of a relayed
// window also names its session, and is never the key of a window of the service's own.
constexpr SourceKey RelayedKeyFlag = 1ull << 63;

inline SourceKey RelayedKey(DWORD session, uint32_t window)
{
    return RelayedKeyFlag | static_cast<SourceKey>(session) << 32 | window;
}

inline bool IsRelayedKey(SourceKey key)
{
    return (key & RelayedKeyFlag) != 0;
}

class SnapshotScanPlatform : public ScanPlatform {
public:
    // `live` answers what does not depend on the desktop for the service's own windows: a
    // window's owner and whether it still exists.
    explicit SnapshotScanPlatform(ScanPlatform& live) : Live(live) {}

    std::vector<AnnouncerSnapshot> Windows;  // the last gathering, in its order

    SourceKey NextAnnouncer(SourceKey previous) override;
    bool ReadText(SourceKey announcer, WCHAR (&text)[AnnounceTextSize], DWORD& length) override;
    DWORD OwnerModulePath(SourceKey announcer, WCHAR (&path)[ModulePathSize]) override;
    // A relayed window exists while its relay reports it.
    bool Exists(SourceKey announcer) override;

private:
    // The announcer's place in the snapshot, or its size when it is not there. The scan asks
    // for the announcer it was just given, so this is found at once.
    size_t IndexOf(SourceKey announcer) const;

    ScanPlatform& Live;
    size_t Cursor = 0;
};
