// The scan on Windows: announcement windows are message-only windows of class AnnounceName in
// any process, each under the key of its handle.
#pragma once

#include "owner_module_path.h"
#include "source_scanner.h"

constexpr UINT AnnounceTextTimeoutMsec = 1000;

class Win32ScanPlatform : public ScanPlatform {
public:
    SourceKey NextAnnouncer(SourceKey previous) override;
    bool ReadText(SourceKey announcer, WCHAR (&text)[AnnounceTextSize], DWORD& length) override;
    DWORD OwnerModulePath(SourceKey announcer, WCHAR (&path)[ModulePathSize]) override;
    bool Exists(SourceKey announcer) override;
};

// The real calls behind GetOwnerModulePath.
extern const OwnerPathCalls Win32OwnerPathCalls;

// Long path of the executable of the process that owns `window`, its length; 0 on failure.
DWORD GetOwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize]);
