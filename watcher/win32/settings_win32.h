// The settings file on Windows: the private-profile reader and the path beside the program.
#pragma once

#include "settings_path.h"
#include "watch_settings.h"

class ProfileSettingsSource : public SettingsSource {
public:
    explicit ProfileSettingsSource(const WCHAR* path) : Path(path) {}

    int32_t ReadInt(const WCHAR* section, const WCHAR* key, int32_t defaultValue) const override;
    DWORD ReadString(const WCHAR* section, const WCHAR* key, const WCHAR* defaultValue,
                     WCHAR* buffer, DWORD capacity) const override;

private:
    const WCHAR* Path;
};

// GetModuleFileNameW of the running executable, GetLongPathNameW, PathRenameExtensionW.
extern const SettingsPathCalls Win32SettingsPathCalls;

// Reads the settings file beside the program into `settings`; when its path cannot be formed
// nothing is read and `settings` keeps its values.
void LoadSettings(WatchSettings& settings);
