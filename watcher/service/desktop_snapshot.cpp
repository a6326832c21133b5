#include "desktop_snapshot.h"

size_t SnapshotScanPlatform::IndexOf(HWND window) const
{
    if (Cursor < Windows.size() && Windows[Cursor].window == window) return Cursor;
    size_t i = 0;
    while (i < Windows.size() && Windows[i].window != window) ++i;
    return i;
}

HWND SnapshotScanPlatform::NextAnnouncer(HWND previous)
{
    Cursor = previous == nullptr ? 0 : IndexOf(previous) + 1;
    return Cursor < Windows.size() ? Windows[Cursor].window : nullptr;
}

bool SnapshotScanPlatform::ReadText(HWND window, WCHAR (&text)[AnnounceTextSize], DWORD& length)
{
    const size_t i = IndexOf(window);
    if (i == Windows.size() || !Windows[i].answered) return false;
    const AnnouncerSnapshot& found = Windows[i];
    length = found.length;
    for (DWORD c = 0; c <= length; ++c) text[c] = found.text[c];
    return true;
}

DWORD SnapshotScanPlatform::OwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize])
{
    return Live.OwnerModulePath(window, path);
}

bool SnapshotScanPlatform::Exists(HWND window)
{
    return Live.Exists(window);
}
