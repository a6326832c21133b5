#include "announcement_list_win32.h"

#include <windows.h>

#include "clock_win32.h"
#include "scan_win32.h"
#include "settings_win32.h"
#include "source_line.h"

namespace {

// Empty when the program's own path cannot be had: a bare name would be looked for in the
// Windows folder.
std::wstring SettingsBesideProgram()
{
    WCHAR path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4) return L"";
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"Horavant.ini";
}

}  // namespace

void ReadSourceFacts(SourceFacts& facts)
{
    facts.settingsPath = SettingsBesideProgram();
    facts.settingsFound = !facts.settingsPath.empty() &&
                          GetFileAttributesW(facts.settingsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    WatchSettings settings{};
    if (facts.settingsFound) {
        ReadSettings(ProfileSettingsSource(facts.settingsPath.c_str()), settings);
    }

    Win32ScanPlatform platform;
    SourceTable table;
    ScanSources(platform, table, settings);
    // Now is taken once for all the lines, as the watcher's list takes it.
    Win32ClockPlatform clock;
    const DWORD nowTick = clock.TickCount();
    FILETIME now{};
    clock.LocalFileTime(now);
    for (const auto& entry : table) {
        WCHAR line[SourceLineSize];
        FormatSourceLine(static_cast<uint32_t>(entry.first), entry.second, nowTick, now, line);
        std::wstring text(line);
        if (!text.empty() && text.back() == L'\n') text.pop_back();
        facts.lines.push_back(text);
    }
}
