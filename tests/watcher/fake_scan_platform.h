// A desktop of announcement windows for the scanner: each window has a text (or does not
// answer), an owner path (or none) and may vanish.
#pragma once

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "source_scanner.h"

struct FakeWindow {
    std::wstring text;
    bool answers = true;
    std::wstring ownerPath;  // empty: the owner's path cannot be read
    bool listed = true;      // found by the enumeration
    bool exists = true;      // IsWindow
};

class FakeScanPlatform : public ScanPlatform {
public:
    std::map<SourceKey, FakeWindow> windows;
    std::vector<SourceKey> textRequests;
    int ownerLookups = 0;

    FakeWindow& Window(SourceKey key) { return windows[key]; }

    SourceKey NextAnnouncer(SourceKey previous) override
    {
        auto it = windows.upper_bound(previous);
        while (it != windows.end() && !it->second.listed) ++it;
        return it == windows.end() ? BroadcastKey : it->first;
    }

    bool ReadText(SourceKey key, WCHAR (&text)[AnnounceTextSize], DWORD& length) override
    {
        textRequests.push_back(key);
        const FakeWindow& w = windows.at(key);
        if (!w.answers) return false;
        length = static_cast<DWORD>(w.text.copy(text, AnnounceTextSize - 1));
        text[length] = 0;
        return true;
    }

    DWORD OwnerModulePath(SourceKey key, WCHAR (&path)[ModulePathSize]) override
    {
        ++ownerLookups;
        const std::wstring& owner = windows.at(key).ownerPath;
        const DWORD length = static_cast<DWORD>(owner.copy(path, ModulePathSize - 1));
        path[length] = 0;
        return length;
    }

    bool Exists(SourceKey key) override
    {
        const auto it = windows.find(key);
        return it != windows.end() && it->second.exists;
    }
};
