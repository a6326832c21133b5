// The whole system as a user runs it: a console host loads the real wrapper, installed in front
// of the file-playing tuner driver, and pulls data/sample.ts at real-time pace; the watcher
// trusts the host, lists it, sets the clock, and hands the clock back once the host has gone.
#include <windows.h>

#include <gtest/gtest.h>

#include "clock_view.h"
#include "unix_path.h"
#include "watcher_session.h"
#include "window_peek.h"

namespace {

constexpr DWORD HostSeconds = 8;

// The host's folder: the wrapper under the driver's name, the renamed driver and its settings.
class InstalledHost {
public:
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

    bool Run(DWORD seconds)
    {
        std::wstring commandLine = L"\"" + Program() + L"\" --seconds " + std::to_wstring(seconds) +
                                   L" \"" + Folder + L"\\BonDriver_TsFile.dll\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        return CreateProcessW(Program().c_str(), &commandLine[0], NULL, NULL, FALSE,
                              CREATE_NO_WINDOW, NULL, Folder.c_str(), &startup, &Process) != FALSE;
    }
    DWORD WaitForExit()
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(Process.hProcess, (HostSeconds + 20) * 1000) == WAIT_OBJECT_0) {
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

TEST(EndToEndTest, HostThroughWrapperSetsTheClockUntilItStops)
{
    InstalledHost host;
    if (!host.Install()) GTEST_SKIP() << "the MSVC-ABI twin tree's programs are not built";
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", L"Trusted0=" + host.Program()}));
    const HWND dialog = watcher.Window();
    ASSERT_TRUE(host.Run(HostSeconds));

    const std::wstring hostEnding = L" *BonDriver_TsFile " + host.Program() + L"\n";
    ASSERT_TRUE(WaitUntil([&] { return !LineEndingWith(dialog, hostEnding).empty(); },
                          WindowPatienceMsec))
        << "the trusted host's line";
    const DWORD listed = GetTickCount();
    const std::vector<std::wstring> lines = ListLines(dialog);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(0u, lines[0].find(L"00000000 ")) << "the wrapper's broadcast comes first";
    EXPECT_NE(std::wstring::npos, lines[0].find(L" <Broadcast"));
    EXPECT_NE(std::wstring::npos, LineEndingWith(dialog, hostEnding).find(L" 2007-11-23T13:25:"))
        << "the sample's first stretch";

    ASSERT_TRUE(watcher.WaitForTitle(ClockAdjustingTitle, ClockIdlePeriodMsec + 1500));
    EXPECT_LE(GetTickCount() - listed, ClockIdlePeriodMsec + 1500) << "within one clock period";

    const HWND announcement = reinterpret_cast<HWND>(
        static_cast<uintptr_t>(wcstoul(LineEndingWith(dialog, hostEnding).c_str(), NULL, 16)));
    EXPECT_EQ(0u, host.WaitForExit());
    EXPECT_FALSE(IsWindow(announcement)) << "the host's announcement window has gone";
    EXPECT_TRUE(WaitUntil([&] { return LineEndingWith(dialog, hostEnding).empty(); },
                          WindowPatienceMsec))
        << "the host's source is pruned";
    EXPECT_TRUE(watcher.WaitForTitle(ClockIdleTitle, WindowPatienceMsec));
    EXPECT_GE(FindCall(watcher.Calls(), "SetSystemTimeAdjustment", {0, TRUE}), 0)
        << "the clock is handed back";
    EXPECT_EQ(0u, watcher.Close());
}

}  // namespace
