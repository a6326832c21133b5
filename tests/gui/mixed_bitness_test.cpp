// A 32-bit watcher with a 64-bit host and the other way round, on 64-bit Windows: either finds
// the host's path and trusts it (a 32-bit process cannot list a 64-bit one's modules and takes
// its image name instead).
#include <windows.h>

#include <gtest/gtest.h>

#include "announcer_process.h"
#include "time_record.h"
#include "unix_path.h"
#include "watcher_session.h"
#include "window_peek.h"

namespace {

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(MixedBitnessTest, EitherWatcherFindsTheOtherHostsPath)
{
    const std::wstring x86Tree = WindowsPathOfUnix(QUELLAP_X86_TWIN_UNIX);
    const std::wstring x86Watcher = x86Tree + L"\\watcher\\Horavant.exe";
    const std::wstring x86Announcer = x86Tree + L"\\tests\\watcher\\announcer.exe";
    if (!Exists(x86Watcher) || !Exists(x86Announcer)) GTEST_SKIP() << "the x86 tree is not built";
    const std::pair<std::wstring, std::wstring> cases[] = {{WatcherProgram, x86Announcer},
                                                           {x86Watcher, AnnouncerProgramPath()}};
    for (const auto& c : cases) {
        AnnouncerProcess host;
        if (!host.StartWithText(TimeRecord(0, L"BonDriver_Other"), L"", c.second)) {
            GTEST_SKIP() << "this machine cannot run 32-bit programs";
        }
        WatcherSession watcher;
        ASSERT_TRUE(watcher.Start({L"UpdateMsec=100", L"Trusted0=" + c.second}, c.first));
        const std::wstring ending = L"*BonDriver_Other " + c.second + L"\n";
        EXPECT_TRUE(WaitUntil([&] { return !LineEndingWith(watcher.Window(), ending).empty(); },
                              WindowPatienceMsec))
            << "trusted by the path of " << Utf8(c.second);
        EXPECT_EQ(0u, watcher.Close());
    }
}

}  // namespace
