#include "watch_settings.h"

#include <wchar.h>

const WCHAR SettingsSection[] = L"Horavant";
const WCHAR ExcludeKey[] = L"Exclude";
const WCHAR TrustedKeyFormat[] = L"Trusted%d";

const IntSetting IntSettings[7] = {
    {L"UpdateMsec", 500,
     [](WatchSettings& s, int32_t v) { s.UpdateMsec = static_cast<uint32_t>(v); }},
    {L"TopMost", 0, [](WatchSettings& s, int32_t v) { s.TopMost = v != 0; }},
    {L"Minimize", 0, [](WatchSettings& s, int32_t v) { s.Minimize = v != 0; }},
    {L"MinToTray", 0, [](WatchSettings& s, int32_t v) { s.MinToTray = v != 0; }},
    {L"SetTime", 0, [](WatchSettings& s, int32_t v) { s.SetTime = v != 0; }},
    {L"TotDelayMsec", 0, [](WatchSettings& s, int32_t v) { s.TotDelayMsec = v; }},
    {L"RelaySessions", 0, [](WatchSettings& s, int32_t v) { s.RelaySessions = v != 0; }},
};

static void ReadTrustedList(const SettingsSource& source, WatchSettings& settings)
{
    for (int n = 0;; ++n) {
        WCHAR key[32];
        swprintf(key, sizeof key / sizeof key[0], TrustedKeyFormat, n);
        TrustedPath entry{};
        source.ReadString(SettingsSection, key, L"", entry.path, TrustedPathCapacity);
        if (entry.path[0] == 0) return;
        settings.Trusted.push_back(entry);
    }
}

void ReadSettings(const SettingsSource& source, WatchSettings& settings)
{
    for (const IntSetting& setting : IntSettings) {
        setting.store(settings, source.ReadInt(SettingsSection, setting.key, setting.defaultValue));
    }
    source.ReadString(SettingsSection, ExcludeKey, L"", settings.Exclude, ExcludeCapacity);
    ReadTrustedList(source, settings);
}
