#include "scan_win32.h"

#include <wchar.h>

#include "announce_name.h"

HWND Win32ScanPlatform::NextAnnouncer(HWND previous)
{
    return FindWindowExW(HWND_MESSAGE, previous, AnnounceName, NULL);
}

bool Win32ScanPlatform::ReadText(HWND window, WCHAR (&text)[AnnounceTextSize], DWORD& length)
{
    // The answer comes from another process: only what lies in the buffer, up to its first NUL
    // and the length reported, is taken, whatever length the window claims.
    for (WCHAR& c : text) c = 0;
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, AnnounceTextSize, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, AnnounceTextTimeoutMsec, &copied)) {
        return false;
    }
    const size_t limit = copied < AnnounceTextSize - 1 ? copied : AnnounceTextSize - 1;
    length = static_cast<DWORD>(wcsnlen(text, limit));
    text[length] = 0;
    return true;
}

DWORD Win32ScanPlatform::OwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize])
{
    return GetOwnerModulePath(window, path);
}

bool Win32ScanPlatform::Exists(HWND window)
{
    return IsWindow(window) != FALSE;
}
