#include "scan_win32.h"

#include <wchar.h>

#include "announce_name.h"

SourceKey Win32ScanPlatform::NextAnnouncer(SourceKey previous)
{
    return KeyOf(FindWindowExW(HWND_MESSAGE, WindowOf(previous), AnnounceName, NULL));
}

bool Win32ScanPlatform::ReadText(SourceKey announcer, WCHAR (&text)[AnnounceTextSize],
                                 DWORD& length)
{
    // The answer comes from another process: only what lies in the buffer, up to its first NUL
    // and the length reported, is taken, whatever length the window claims.
    for (WCHAR& c : text) c = 0;
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(WindowOf(announcer), WM_GETTEXT, AnnounceTextSize,
                             reinterpret_cast<LPARAM>(text), SMTO_NORMAL, AnnounceTextTimeoutMsec,
                             &copied)) {
        return false;
    }
    const size_t limit = copied < AnnounceTextSize - 1 ? copied : AnnounceTextSize - 1;
    length = static_cast<DWORD>(wcsnlen(text, limit));
    text[length] = 0;
    return true;
}

DWORD Win32ScanPlatform::OwnerModulePath(SourceKey announcer, WCHAR (&path)[ModulePathSize])
{
    return GetOwnerModulePath(WindowOf(announcer), path);
}

bool Win32ScanPlatform::Exists(SourceKey announcer)
{
    return IsWindow(WindowOf(announcer)) != FALSE;
}
