// The scan on Windows: announcement windows are message-only windows of class AnnounceName in
// any process.
#pragma once

#include "owner_module_path.h"
#include "source_scanner.h"

constexpr UINT AnnounceTextTimeoutMsec = 1000;

class Win32ScanPlatform : public ScanPlatform {
public:
    HWND NextAnnouncer(HWND previous) override;
    bool ReadText(HWND window, WCHAR (&text)[AnnounceTextSize], DWORD& length) override;
    DWORD OwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize]) override;
    bool Exists(HWND window) override;
};

// The real calls behind GetOwnerModulePath.
extern const OwnerPathCalls Win32OwnerPathCalls;

// Long path of the executable of the process that owns `window`, its length; 0 on failure.
DWORD GetOwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize]);
