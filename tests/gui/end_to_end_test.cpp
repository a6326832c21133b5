// The whole system as a user runs it: a console host loads the real wrapper, installed in front
// of the file-playing tuner driver, and pulls data/sample.ts at real-time pace; the watcher
// trusts the host, lists it, sets the clock, and hands the clock back once the host has gone.
#include <windows.h>

#include <gtest/gtest.h>

#include "clock_view.h"
#include "installed_host.h"
#include "watcher_session.h"
#include "window_peek.h"

namespace {

constexpr DWORD HostSeconds = 8;

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
    EXPECT_EQ(0u, host.WaitForExit((HostSeconds + 20) * 1000));
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
