#include "desktop_snapshot.h"

size_t SnapshotScanPlatform::IndexOf(SourceKey announcer) const
{
    if (Cursor < Windows.size() && Windows[Cursor].key == announcer) return Cursor;
    size_t i = 0;
    while (i < Windows.size() && Windows[i].key != announcer) ++i;
    return i;
}

SourceKey SnapshotScanPlatform::NextAnnouncer(SourceKey previous)
{
    Cursor = previous == BroadcastKey ? 0 : IndexOf(previous) + 1;
    return Cursor < Windows.size() ? Windows[Cursor].key : BroadcastKey;
}

bool SnapshotScanPlatform::ReadText(SourceKey announcer, WCHAR (&text)[AnnounceTextSize],
                                    DWORD& length)
{
    const size_t i = IndexOf(announcer);
    if (i == Windows.size() || !Windows[i].answered) return false;
    const AnnouncerSnapshot& found = Windows[i];
    length = found.length;
    for (DWORD c = 0; c <= length; ++c) text[c] = found.text[c];
    return true;
}

DWORD SnapshotScanPlatform::OwnerModulePath(SourceKey announcer, WCHAR (&path)[ModulePathSize])
{
    if (!IsRelayedKey(announcer)) return Live.OwnerModulePath(announcer, path);
    const size_t i = IndexOf(announcer);
    if (i == Windows.size()) return 0;
    const std::wstring& owner = Windows[i].relayedOwner;
    const DWORD length = static_cast<DWORD>(owner.copy(path, ModulePathSize - 1));
    path[length] = 0;
    return length;
}

bool SnapshotScanPlatform::Exists(SourceKey announcer)
{
    if (!IsRelayedKey(announcer)) return Live.Exists(announcer);
    return IndexOf(announcer) != Windows.size();
}
