// The watcher's settings: the record, the keys that fill it, and the reading of those keys from
// any source of INI text.
#pragma once

#include <stdint.h>

#include <vector>

#include "win32_types.h"

constexpr DWORD ExcludeCapacity = 4096;      // UTF-16 units with the terminator
constexpr DWORD TrustedPathCapacity = 1024;  // UTF-16 units with the terminator

struct TrustedPath {
    WCHAR path[TrustedPathCapacity];
};

struct WatchSettings {
    uint32_t UpdateMsec;   // scan timer period, ms, as read
    bool TopMost;
    bool Minimize;
    bool MinToTray;
    bool SetTime;          // clock-setting mode
    int32_t TotDelayMsec;  // added to every trusted source's offset, ms
    bool RelaySessions;    // the service also hears the signed-in users' desktops, through relays
    WCHAR Exclude[ExcludeCapacity];     // ":name:" entries of sources never trusted
    std::vector<TrustedPath> Trusted;   // host program paths whose sources are trusted
};

// A reader of INI text: on Windows the private-profile functions over the settings file.
class SettingsSource {
public:
    // The key's integer value, or `defaultValue` when the key is missing.
    virtual int32_t ReadInt(const WCHAR* section, const WCHAR* key, int32_t defaultValue) const = 0;
    // Writes the key's text (or `defaultValue` when the key is missing) cut to capacity - 1
    // units and a NUL; returns the length written.
    virtual DWORD ReadString(const WCHAR* section, const WCHAR* key, const WCHAR* defaultValue,
                             WCHAR* buffer, DWORD capacity) const = 0;

protected:
    ~SettingsSource() = default;
};

extern const WCHAR SettingsSection[];  // "Horavant"

// One integer key: its default and where its normalised value goes.
struct IntSetting {
    const WCHAR* key;
    int32_t defaultValue;
    void (*store)(WatchSettings& settings, int32_t value);
};

// In reading order.
extern const IntSetting IntSettings[7];

extern const WCHAR ExcludeKey[];         // "Exclude", capacity ExcludeCapacity, default ""
extern const WCHAR TrustedKeyFormat[];   // "Trusted%d", capacity TrustedPathCapacity, default ""

// Fills `settings` from `source`: every integer key, Exclude, then Trusted0, Trusted1, ... up
// to the first empty or missing one, appended to the list.
void ReadSettings(const SettingsSource& source, WatchSettings& settings);
