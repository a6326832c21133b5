#include "source_scanner.h"

#include <gtest/gtest.h>

#include <string>

#include "announce_text.h"
#include "fake_scan_platform.h"

namespace {

const wchar_t HostPath[] = L"C:\\Program Files\\Viewer\\Viewer.exe";

std::wstring TimeText(uint32_t tick, uint32_t low, uint32_t high, const wchar_t* name)
{
    wchar_t text[AnnounceTextCapacity];
    FormatAnnounceTimeRecord(text, tick, low, high, name);
    return text;
}

std::wstring NoTimeText(const wchar_t* name)
{
    wchar_t text[AnnounceTextCapacity];
    FormatAnnounceNoTimeRecord(text, name);
    return text;
}

TrustedPath Trusted(const wchar_t* path)
{
    TrustedPath entry{};
    std::wstring(path).copy(entry.path, TrustedPathCapacity - 1);
    return entry;
}

class SourceScannerTest : public testing::Test {
protected:
    FakeScanPlatform desktop;
    SourceTable table;
    WatchSettings settings{};

    void Announce(SourceKey handle, const std::wstring& text, const wchar_t* owner = HostPath)
    {
        desktop.Window(handle).text = text;
        desktop.Window(handle).ownerPath = owner;
    }
    void Scan() { ScanSources(desktop, table, settings); }
    void Exclude(const std::wstring& value)
    {
        settings.Exclude[value.copy(settings.Exclude, ExcludeCapacity - 1)] = 0;
    }
    const SourceRecord& At(SourceKey handle) { return table.at(handle); }
};

TEST_F(SourceScannerTest, CreatesOneEntryPerAnnouncingWindow)
{
    Announce(0x30, TimeText(1000, 0x12345678, 0x01d9abcd, L"BonDriver_A"));
    Announce(0x10, TimeText(2000, 5, 6, L""));
    Announce(0x20, L"some other program's window", L"");
    Scan();

    ASSERT_EQ(2u, table.size());
    const SourceRecord& a = At(0x30);
    EXPECT_EQ(1000u, a.tick);
    EXPECT_EQ(0x12345678u, a.fileTime.dwLowDateTime);
    EXPECT_EQ(0x01d9abcdu, a.fileTime.dwHighDateTime);
    EXPECT_EQ(L"BonDriver_A", std::wstring(a.name));
    EXPECT_EQ(HostPath, std::wstring(a.modulePath));
    EXPECT_FALSE(a.trusted) << "nothing is trusted without a Trusted entry";
    EXPECT_EQ(L"", std::wstring(At(0x10).name));
    EXPECT_EQ((std::vector<SourceKey>{0x10, 0x20, 0x30}), desktop.textRequests);
}

TEST_F(SourceScannerTest, NamesAreCutTo63AndUnknownOwnersMarked)
{
    const std::wstring longName(70, L'x');
    Announce(0x10, L"QUELLAP Y33 0x00000001 0x00000002 0x00000003 " + longName, L"");
    Scan();
    EXPECT_EQ(longName.substr(0, 63), std::wstring(At(0x10).name));
    EXPECT_EQ(L"<Unknown>", std::wstring(At(0x10).modulePath));
}

TEST_F(SourceScannerTest, LaterTextsOnlyRefreshTickAndTime)
{
    settings.Trusted.push_back(Trusted(HostPath));
    Announce(0x10, TimeText(1000, 1, 2, L"First"));
    Scan();
    ASSERT_TRUE(At(0x10).trusted);

    // Same tick, other time: the same sample, kept as it was.
    Announce(0x10, TimeText(1000, 7, 8, L"First"), L"C:\\other.exe");
    Scan();
    EXPECT_EQ(1u, At(0x10).fileTime.dwLowDateTime);

    // New tick: tick and time follow; name, path and trust stay.
    settings.Trusted.clear();
    Announce(0x10, TimeText(1001, 9, 10, L"Renamed"), L"C:\\other.exe");
    Scan();
    const SourceRecord& record = At(0x10);
    EXPECT_EQ(1001u, record.tick);
    EXPECT_EQ(9u, record.fileTime.dwLowDateTime);
    EXPECT_EQ(10u, record.fileTime.dwHighDateTime);
    EXPECT_EQ(L"First", std::wstring(record.name));
    EXPECT_EQ(HostPath, std::wstring(record.modulePath));
    EXPECT_TRUE(record.trusted);
    EXPECT_EQ(1, desktop.ownerLookups) << "the owner is looked up once per source";
}

TEST_F(SourceScannerTest, NoTimeRecordErasesAndIgnoredTextsChangeNothing)
{
    Announce(0x10, TimeText(1000, 1, 2, L"A"));
    Announce(0x20, TimeText(1000, 1, 2, L"B"));
    Scan();
    Announce(0x10, NoTimeText(L"A"));
    Announce(0x20, L"QUELLAP Y32 0x00000005 0x00000002 0x00000003 B");
    Announce(0x30, NoTimeText(L"never seen"));
    Scan();
    EXPECT_EQ(0u, table.count(0x10));
    EXPECT_EQ(1000u, At(0x20).tick);
    EXPECT_EQ(0u, table.count(0x30));

    // After withdrawal the source is judged afresh.
    settings.Trusted.push_back(Trusted(HostPath));
    Announce(0x10, TimeText(1000, 1, 2, L"A"));
    Scan();
    EXPECT_TRUE(At(0x10).trusted);
}

TEST_F(SourceScannerTest, SilentWindowKeepsItsEntryVanishedWindowIsPruned)
{
    Announce(0x10, TimeText(1000, 1, 2, L"A"));
    Announce(0x20, TimeText(1000, 1, 2, L"B"));
    Announce(0x30, TimeText(1000, 1, 2, L"C"));
    int32_t broadcasts = 0;
    StoreBroadcast(table, broadcasts, 0, 5);
    Scan();
    ASSERT_EQ(4u, table.size());

    desktop.Window(0x10).answers = false;
    desktop.Window(0x10).text = TimeText(2000, 1, 2, L"A");
    desktop.Window(0x20).listed = false;  // gone between enumeration and prune
    desktop.Window(0x20).exists = false;
    desktop.Window(0x30).answers = false;
    desktop.Window(0x30).exists = false;
    Scan();
    EXPECT_EQ(1000u, At(0x10).tick);
    EXPECT_EQ(0u, table.count(0x20));
    EXPECT_EQ(0u, table.count(0x30)) << "pruned although its text was never read";
    ASSERT_EQ(1u, table.count(BroadcastKey)) << "the broadcast record is never pruned";
    EXPECT_EQ(BroadcastKey, table.begin()->first);
}

TEST_F(SourceScannerTest, TrustByModulePathInAnyCase)
{
    settings.Trusted.push_back(Trusted(L"C:\\Elsewhere\\a.exe"));
    settings.Trusted.push_back(Trusted(L"c:\\program files\\VIEWER\\viewer.EXE"));
    Announce(0x10, TimeText(1, 1, 1, L"A"));
    Announce(0x20, TimeText(1, 1, 1, L"B"), L"C:\\Program Files\\Viewer\\Viewer.exe.bak");
    Announce(0x30, TimeText(1, 1, 1, L"C"), L"");
    Scan();
    EXPECT_TRUE(At(0x10).trusted);
    EXPECT_FALSE(At(0x20).trusted);
    EXPECT_FALSE(At(0x30).trusted);
}

TEST_F(SourceScannerTest, UnknownEntryTrustsSourcesWithoutAPath)
{
    settings.Trusted.push_back(Trusted(L"<UNKNOWN>"));
    Announce(0x10, TimeText(1, 1, 1, L"A"), L"");
    Announce(0x20, TimeText(1, 1, 1, L"B"));
    Scan();
    EXPECT_TRUE(At(0x10).trusted);
    EXPECT_FALSE(At(0x20).trusted);
}

TEST_F(SourceScannerTest, ExcludeNeedsTheNameBetweenColons)
{
    settings.Trusted.push_back(Trusted(HostPath));
    Exclude(L":BonDriver_PT-S:bondriver_pt-t:Ünïcode:Tail");
    const wchar_t* names[] = {L"BonDriver_PT-S", L"BONDRIVER_PT-T", L"üNÏCODE", L"Tail",
                              L"BonDriver_PT", L"", L"PT-S"};
    const bool trusted[] = {false, false, false, true, true, true, true};
    for (SourceKey i = 0; i < 7; ++i) Announce(0x10 + i, TimeText(1, 1, 1, names[i]));
    Scan();
    for (SourceKey i = 0; i < 7; ++i) EXPECT_EQ(trusted[i], At(0x10 + i).trusted) << names[i];

    // "::" names the empty source.
    Exclude(L"a::b");
    table.clear();
    Scan();
    EXPECT_FALSE(At(0x15).trusted);
    EXPECT_TRUE(At(0x10).trusted);
}

}  // namespace
