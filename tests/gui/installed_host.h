// The console host pulling data/sample.ts at real-time pace through the real wrapper, installed
// in front of the file-playing tuner driver: the programs of the MSVC-ABI twin tree in a folder
// of their own.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "private_desktop.h"
#include "unix_path.h"
#include "watcher_session.h"

class InstalledHost {
public:
    // False when the twin tree's programs are not built.
    bool Install()
    {
        const std::wstring twin = WindowsPathOfUnix(QUELLAP_MSVC_TWIN_UNIX);
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        Folder = std::wstring(temp) + L"quellap-host-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(Folder.c_str(), NULL);
        const std::pair<std::wstring, std::wstring> copies[] = {
            {twin + L"\\tools\\bonhost\\bonhost.exe", L"bonhost.exe"},
            {twin + L"\\driver\\BonDriver_Quellap.dll", L"BonDriver_TsFile.dll"},
            {twin + L"\\tools\\tsfile_driver\\BonDriver_TsFile.dll", L"BonDriver_TsFile_Quellapped.dl_"},
            {WindowsPathOfUnix(QUELLAP_SAMPLE_UNIX), L"sample.ts"},
        };
        for (const auto& copy : copies) {
            if (!CopyFileW(copy.first.c_str(), (Folder + L"\\" + copy.second).c_str(), FALSE)) {
                return false;
            }
        }
        return WritePrivateProfileStringW(L"TsFile", L"File", L"sample.ts", Settings().c_str()) &&
               WritePrivateProfileStringW(L"TsFile", L"ChunkBytes", L"1880", Settings().c_str());
    }
    std::wstring Program() const { return Folder + L"\\bonhost.exe"; }

    // Starts the host for `seconds`, on `desktop` when one is given (as a recording service
    // starts its tuner process), else on this one.
    bool Run(DWORD seconds, const PrivateDesktop* desktop = nullptr)
    {
        std::wstring commandLine = L"\"" + Program() + L"\" --seconds " + std::to_wstring(seconds) +
                                   L" \"" + Folder + L"\\BonDriver_TsFile.dll\"";
        std::wstring place = desktop != nullptr ? desktop->Path() : L"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (desktop != nullptr) startup.lpDesktop = &place[0];
        return CreateProcessW(Program().c_str(), &commandLine[0], NULL, NULL, FALSE,
                              CREATE_NO_WINDOW, NULL, Folder.c_str(), &startup, &Process) != FALSE;
    }
    // The host's exit code, or STILL_ACTIVE when it has not ended within `milliseconds`.
    DWORD WaitForExit(DWORD milliseconds)
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(Process.hProcess, milliseconds) == WAIT_OBJECT_0) {
            GetExitCodeProcess(Process.hProcess, &code);
        }
        return code;
    }
    ~InstalledHost()
    {
        if (Process.hProcess != NULL) {
            TerminateProcess(Process.hProcess, 1);
            WaitForSingleObject(Process.hProcess, WindowPatienceMsec);
            CloseHandle(Process.hProcess);
            CloseHandle(Process.hThread);
        }
        RemoveFolder(Folder);
    }

private:
    std::wstring Settings() const { return Folder + L"\\BonDriver_TsFile_Quellapped.ini"; }

    std::wstring Folder;
    PROCESS_INFORMATION Process = {};
};
