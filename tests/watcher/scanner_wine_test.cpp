// The scanner against real message-only windows owned by other processes (run under Wine or
// Windows).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "announce_text.h"
#include "announcer_process.h"
#include "scan_win32.h"

namespace {

std::wstring TimeText(uint32_t tick, const wchar_t* name)
{
    wchar_t text[AnnounceTextCapacity];
    FormatAnnounceTimeRecord(text, tick, 0x89abcdef, 0x01dc0000, name);
    return text;
}

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text) c = towupper(c);
    return text;
}

class ScannerWineTest : public testing::Test {
protected:
    Win32ScanPlatform platform;
    SourceTable table;
    WatchSettings settings{};
    std::vector<std::unique_ptr<AnnouncerProcess>> announcers;

    HWND Start(const std::wstring& text, const std::wstring& options = L"")
    {
        announcers.push_back(std::make_unique<AnnouncerProcess>());
        EXPECT_TRUE(announcers.back()->StartWithText(text, options))
            << "could not start the announcer of " << std::string(text.begin(), text.end());
        return announcers.back()->Window();
    }
    void Scan() { ScanSources(platform, table, settings); }
    bool Has(HWND window) const { return table.count(KeyOf(window)) != 0; }
    const SourceRecord& At(HWND window) const { return table.at(KeyOf(window)); }
    void Trust(const std::wstring& path)
    {
        TrustedPath entry{};
        path.copy(entry.path, TrustedPathCapacity - 1);
        settings.Trusted.push_back(entry);
    }
};

TEST_F(ScannerWineTest, ReadsWellFormedAndRefusesHostileTexts)
{
    const std::wstring longName(70, L'n');
    const HWND good = Start(TimeText(1000, L"BonDriver_Good"));
    const HWND bare = Start(L"QUELLAP Y33 0x00000001 0x00000002 0x00000003 ");
    const HWND longNamed = Start(TimeText(1000, L"") + longName);
    const HWND oversized = Start(TimeText(1000, L"") + std::wstring(300, L'o'));
    const HWND lowerCase = Start(L"quellap" + TimeText(1000, L"x").substr(7));
    const HWND number32 = Start(L"QUELLAP Y32 0x00000001 0x00000002 0x00000003 x");
    const HWND badTick = Start(L"QUELLAP Y33 0xzzzzzzzz 0x00000002 0x00000003 x");
    const HWND badLow = Start(L"QUELLAP Y33 0x00000001 zz00000002 0x00000003 x");
    const HWND badHigh = Start(L"QUELLAP Y33 0x00000001 0x00000002 -x00000003 x");
    const HWND noTime = Start(L"QUELLAP N00 BonDriver_Gone");
    Scan();

    ASSERT_TRUE(Has(good));
    EXPECT_EQ(1000u, At(good).tick);
    EXPECT_EQ(0x89abcdefu, At(good).fileTime.dwLowDateTime);
    EXPECT_EQ(0x01dc0000u, At(good).fileTime.dwHighDateTime);
    EXPECT_TRUE(std::wstring(L"BonDriver_Good") == At(good).name);
    ASSERT_TRUE(Has(bare));
    EXPECT_EQ(0, At(bare).name[0]);
    ASSERT_TRUE(Has(longNamed));
    EXPECT_TRUE(longName.substr(0, 63) == At(longNamed).name);
    ASSERT_TRUE(Has(oversized)) << "a text longer than the buffer is read up to its size";
    EXPECT_TRUE(std::wstring(63, L'o') == At(oversized).name);
    for (HWND ignored : {lowerCase, number32, badTick, badLow, badHigh, noTime}) {
        EXPECT_FALSE(Has(ignored));
    }
}

TEST_F(ScannerWineTest, ClaimedLengthsNeverReachPastTheText)
{
    const HWND overclaim = Start(TimeText(7, L"Claimer"), L"--claim 5000");
    const HWND underclaim = Start(TimeText(7, L"Claimer"), L"--claim 11");
    Scan();
    ASSERT_TRUE(Has(overclaim));
    EXPECT_TRUE(std::wstring(L"Claimer") == At(overclaim).name);
    EXPECT_FALSE(Has(underclaim));
}

TEST_F(ScannerWineTest, NoTimeTextErasesTheEntry)
{
    const HWND window = Start(TimeText(1000, L"A"));
    Scan();
    ASSERT_TRUE(Has(window));
    const std::wstring withdrawal = L"QUELLAP N00 A";
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(withdrawal.c_str()));
    Scan();
    EXPECT_FALSE(Has(window));
}

TEST_F(ScannerWineTest, SilentAnnouncerCostsAboutASecondAndKeepsItsEntry)
{
    const HWND silent = Start(TimeText(1000, L"Silent"), L"--silent");
    const HWND talking = Start(TimeText(2000, L"Talking"));
    SourceRecord earlier{};
    earlier.tick = 5;
    table[KeyOf(silent)] = earlier;

    for (int pass = 0; pass < 2; ++pass) {
        const DWORD start = GetTickCount();
        Scan();
        const DWORD took = GetTickCount() - start;
        EXPECT_LE(took, 1500u) << "pass " << pass;
        EXPECT_GE(took, 900u) << "pass " << pass;
    }
    ASSERT_TRUE(Has(silent));
    EXPECT_EQ(5u, At(silent).tick);
    EXPECT_TRUE(Has(talking));
}

TEST_F(ScannerWineTest, VanishedAnnouncersArePrunedBroadcastStays)
{
    const HWND first = Start(TimeText(1000, L"First"));
    const HWND second = Start(TimeText(1000, L"Second"));
    const HWND silent = Start(TimeText(1000, L"Silent"), L"--silent");
    int32_t broadcasts = 0;
    StoreBroadcast(table, broadcasts, -86400, GetTickCount());
    SourceRecord unread{};
    table[KeyOf(silent)] = unread;
    Scan();
    ASSERT_TRUE(Has(first) && Has(second) && Has(silent));

    announcers[0]->Stop();
    announcers[2]->Stop();
    Scan();
    EXPECT_FALSE(Has(first));
    EXPECT_FALSE(Has(silent)) << "pruned although its text was never read";
    EXPECT_TRUE(Has(second));
    ASSERT_EQ(BroadcastKey, table.begin()->first);
    EXPECT_TRUE(std::wstring(L"<Broadcast0>") == table.begin()->second.name);

    StoreBroadcast(table, broadcasts, 0, GetTickCount());
    announcers[1]->Stop();
    Scan();
    EXPECT_FALSE(Has(second));
    ASSERT_EQ(BroadcastKey, table.begin()->first) << "the broadcast record is never pruned";
    EXPECT_TRUE(std::wstring(L"<Broadcast1>") == table.begin()->second.name);
}

TEST_F(ScannerWineTest, TrustByOwnerPathAndExcludeInAnyCase)
{
    Trust(L"C:\\elsewhere.exe");
    Trust(Upper(AnnouncerProgramPath()));
    const std::wstring exclude = L":BONDRIVER_EXCLUDED:";
    exclude.copy(settings.Exclude, ExcludeCapacity - 1);
    const HWND trusted = Start(TimeText(1, L"BonDriver_Trusted"));
    const HWND excluded = Start(TimeText(1, L"BonDriver_Excluded"));
    Scan();
    ASSERT_TRUE(Has(trusted));
    EXPECT_TRUE(AnnouncerProgramPath() == At(trusted).modulePath);
    EXPECT_TRUE(At(trusted).trusted);
    ASSERT_TRUE(Has(excluded));
    EXPECT_FALSE(At(excluded).trusted);
}

// A copy of the announcer in the temporary folder that is renamed once it runs: the path its
// process reports no longer exists, so it has no long form. The copy is removed at the end.
class MovedAnnouncer {
public:
    MovedAnnouncer()
    {
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring started = std::wstring(temp) + L"quellap_moved_announcer.exe";
        Moved = std::wstring(temp) + L"quellap_moved_announcer.renamed";
        if (CopyFileW(AnnouncerProgramPath().c_str(), started.c_str(), FALSE) &&
            Process.StartWithText(TimeText(1, L"Moved"), L"", started) &&
            !MoveFileExW(started.c_str(), Moved.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            Process.Stop();
        }
        DeleteFileW(started.c_str());
    }
    ~MovedAnnouncer()
    {
        Process.Stop();
        DeleteFileW(Moved.c_str());
    }
    HWND Window() const { return Process.Window(); }

private:
    std::wstring Moved;
    AnnouncerProcess Process;
};

TEST_F(ScannerWineTest, UnknownEntryTrustsOnlySourcesWithoutAPath)
{
    Trust(L"<unknown>");
    const MovedAnnouncer moved;
    const HWND unknown = moved.Window();
    ASSERT_NE(HWND(NULL), unknown) << "could not start and rename an announcer copy";
    const HWND known = Start(TimeText(1, L"Near"));
    Scan();
    ASSERT_TRUE(Has(unknown));
    EXPECT_TRUE(std::wstring(L"<Unknown>") == At(unknown).modulePath);
    EXPECT_TRUE(At(unknown).trusted);
    ASSERT_TRUE(Has(known));
    EXPECT_FALSE(At(known).trusted);
}

TEST_F(ScannerWineTest, OwnerModulePathOfAWindow)
{
    const HWND window = Start(TimeText(1, L"A"));
    WCHAR path[ModulePathSize];
    const DWORD length = GetOwnerModulePath(window, path);
    EXPECT_EQ(AnnouncerProgramPath().size(), length);
    EXPECT_TRUE(AnnouncerProgramPath() == path);

    // The route a 32-bit watcher takes to a 64-bit host, whose modules it cannot list.
    OwnerPathCalls unlisted = Win32OwnerPathCalls;
    unlisted.MainModuleName = [](HANDLE, WCHAR*, DWORD) -> DWORD { return 0; };
    WCHAR imagePath[ModulePathSize];
    EXPECT_EQ(length, FindOwnerModulePath(unlisted, window, imagePath));
    EXPECT_TRUE(AnnouncerProgramPath() == imagePath);

    announcers.front()->Stop();
    EXPECT_EQ(0u, GetOwnerModulePath(window, path)) << "a window that is gone has no owner";
}

}  // namespace
