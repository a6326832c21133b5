#include "settings_win32.h"

#include <shlwapi.h>

int32_t ProfileSettingsSource::ReadInt(const WCHAR* section, const WCHAR* key,
                                       int32_t defaultValue) const
{
    return static_cast<int32_t>(GetPrivateProfileIntW(section, key, defaultValue, Path));
}

DWORD ProfileSettingsSource::ReadString(const WCHAR* section, const WCHAR* key,
                                        const WCHAR* defaultValue, WCHAR* buffer,
                                        DWORD capacity) const
{
    return GetPrivateProfileStringW(section, key, defaultValue, buffer, capacity, Path);
}

const SettingsPathCalls Win32SettingsPathCalls = {
    [](WCHAR* buffer, DWORD size) { return GetModuleFileNameW(GetModuleHandleW(NULL), buffer, size); },
    [](const WCHAR* path, WCHAR* buffer, DWORD size) { return GetLongPathNameW(path, buffer, size); },
    [](WCHAR* path, const WCHAR* extension) { return PathRenameExtensionW(path, extension); },
};

void LoadSettings(WatchSettings& settings)
{
    WCHAR path[SettingsPathSize];
    if (!FormSettingsPath(Win32SettingsPathCalls, path)) return;
    ReadSettings(ProfileSettingsSource(path), settings);
}
