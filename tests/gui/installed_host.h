// The console host pulling data/sample.ts at real-time pace through the real wrapper, installed
// in front of the file-playing tuner driver: the programs of the MSVC-ABI twin tree in a folder
// of their own.
#pragma once

#include <windows.h>

#include <string>

#include "private_desktop.h"

class InstalledHost {
public:
    InstalledHost() = default;
    InstalledHost(const InstalledHost&) = delete;
    InstalledHost& operator=(const InstalledHost&) = delete;
    ~InstalledHost();

    // False when the twin tree's programs are not built.
    bool Install();
    std::wstring Program() const { return Folder + L"\\bonhost.exe"; }
    // Starts the host for `seconds`, on `desktop` when one is given (as a recording service
    // starts its tuner process), else on this one.
    bool Run(DWORD seconds, const PrivateDesktop* desktop = nullptr);
    // The host's exit code, or STILL_ACTIVE when it has not ended within `milliseconds`.
    DWORD WaitForExit(DWORD milliseconds);

private:
    std::wstring Settings() const { return Folder + L"\\BonDriver_TsFile_Quellapped.ini"; }

    std::wstring Folder;
    PROCESS_INFORMATION Process = {};
};
