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
    std::map<uintptr_t, FakeWindow> windows;  // by handle value
    std::vector<uintptr_t> textRequests;
    int ownerLookups = 0;

    FakeWindow& Window(uintptr_t handle) { return windows[handle]; }

    HWND NextAnnouncer(HWND previous) override
    {
        auto it = windows.upper_bound(reinterpret_cast<uintptr_t>(previous));
        while (it != windows.end() && !it->second.listed) ++it;
        return it == windows.end() ? nullptr : reinterpret_cast<HWND>(it->first);
    }

    bool ReadText(HWND window, WCHAR (&text)[AnnounceTextSize], DWORD& length) override
    {
        textRequests.push_back(reinterpret_cast<uintptr_t>(window));
        const FakeWindow& w = windows.at(reinterpret_cast<uintptr_t>(window));
        if (!w.answers) return false;
        length = static_cast<DWORD>(w.text.copy(text, AnnounceTextSize - 1));
        text[length] = 0;
        return true;
    }

    DWORD OwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize]) override
    {
        ++ownerLookups;
        const std::wstring& owner = windows.at(reinterpret_cast<uintptr_t>(window)).ownerPath;
        const DWORD length = static_cast<DWORD>(owner.copy(path, ModulePathSize - 1));
        path[length] = 0;
        return length;
    }

    bool Exists(HWND window) override
    {
        const auto it = windows.find(reinterpret_cast<uintptr_t>(window));
        return it != windows.end() && it->second.exists;
    }
};
