#include "watch_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "ini_text_source.h"

namespace {

WatchSettings Read(const std::wstring& ini)
{
    WatchSettings settings{};
    ReadSettings(IniTextSource(ini), settings);
    return settings;
}

std::wstring TrustedOf(const WatchSettings& settings, size_t i)
{
    return settings.Trusted.at(i).path;
}

void ExpectSame(const WatchSettings& expected, const WatchSettings& actual, const wchar_t* key)
{
    EXPECT_EQ(expected.UpdateMsec, actual.UpdateMsec) << key;
    EXPECT_EQ(expected.TopMost, actual.TopMost) << key;
    EXPECT_EQ(expected.Minimize, actual.Minimize) << key;
    EXPECT_EQ(expected.MinToTray, actual.MinToTray) << key;
    EXPECT_EQ(expected.SetTime, actual.SetTime) << key;
    EXPECT_EQ(expected.TotDelayMsec, actual.TotDelayMsec) << key;
    EXPECT_EQ(expected.RelaySessions, actual.RelaySessions) << key;
}

TEST(WatchSettingsTest, NoFileGivesEveryDefault)
{
    const WatchSettings settings = Read(L"");
    EXPECT_EQ(500u, settings.UpdateMsec);
    EXPECT_FALSE(settings.TopMost);
    EXPECT_FALSE(settings.Minimize);
    EXPECT_FALSE(settings.MinToTray);
    EXPECT_FALSE(settings.SetTime);
    EXPECT_EQ(0, settings.TotDelayMsec);
    EXPECT_FALSE(settings.RelaySessions);
    EXPECT_EQ(L"", std::wstring(settings.Exclude));
    EXPECT_TRUE(settings.Trusted.empty());
}

// Each integer key alone lands in its own field; with all others present, its absence gives its
// default there.
TEST(WatchSettingsTest, EachIntegerKeyMissingAndPresent)
{
    const WatchSettings defaults = Read(L"");
    for (const IntSetting& setting : IntSettings) {
        const std::wstring key = setting.key;
        WatchSettings expected = defaults;
        setting.store(expected, 7);
        ExpectSame(expected, Read(L"[Horavant]\n" + key + L"=7\n"), setting.key);

        std::wstring others = L"[Horavant]\n";
        WatchSettings expectedWithout = defaults;
        for (const IntSetting& other : IntSettings) {
            if (other.key == setting.key) continue;
            others += std::wstring(other.key) + L"=3\n";
            other.store(expectedWithout, 3);
        }
        ExpectSame(expectedWithout, Read(others), setting.key);
    }
}

TEST(WatchSettingsTest, IntegerNormalisation)
{
    const WatchSettings settings = Read(
        L"[Horavant]\nUpdateMsec=-1\nTopMost=2\nMinimize=-5\nMinToTray=0\nSetTime=1\n"
        L"TotDelayMsec=-250\n");
    EXPECT_EQ(4294967295u, settings.UpdateMsec) << "passed on as read";
    EXPECT_TRUE(settings.TopMost);
    EXPECT_TRUE(settings.Minimize);
    EXPECT_FALSE(settings.MinToTray);
    EXPECT_TRUE(settings.SetTime);
    EXPECT_EQ(-250, settings.TotDelayMsec);
}

TEST(WatchSettingsTest, TrustedListStopsAtTheFirstMissingOrEmptyKey)
{
    EXPECT_TRUE(Read(L"[Horavant]\nTrusted1=C:\\b.exe\n").Trusted.empty());

    const WatchSettings settings = Read(
        L"[Horavant]\nTrusted3=C:\\d.exe\nTrusted1=C:\\b.exe\nTrusted0=C:\\a.exe\nTrusted2=\n");
    ASSERT_EQ(2u, settings.Trusted.size());
    EXPECT_EQ(L"C:\\a.exe", TrustedOf(settings, 0));
    EXPECT_EQ(L"C:\\b.exe", TrustedOf(settings, 1));

    std::wstring many = L"[Horavant]\n";
    for (int n = 0; n < 40; ++n) {
        many += L"Trusted" + std::to_wstring(n) + L"=p" + std::to_wstring(n) + L"\n";
    }
    const WatchSettings long_list = Read(many);
    ASSERT_EQ(40u, long_list.Trusted.size()) << "the list has no bound of its own";
    EXPECT_EQ(L"p39", TrustedOf(long_list, 39));
}

TEST(WatchSettingsTest, TextsAreCutToTheirCapacity)
{
    const std::wstring exclude(5000, L'e');
    const std::wstring path(1500, L'p');
    const WatchSettings settings =
        Read(L"[Horavant]\nExclude=" + exclude + L"\nTrusted0=" + path + L"\n");
    EXPECT_EQ(exclude.substr(0, 4095), std::wstring(settings.Exclude));
    ASSERT_EQ(1u, settings.Trusted.size());
    EXPECT_EQ(path.substr(0, 1023), TrustedOf(settings, 0));

    const WatchSettings exact = Read(L"[Horavant]\nExclude=" + exclude.substr(0, 4095) +
                                     L"\nTrusted0=" + path.substr(0, 1023) + L"\n");
    EXPECT_EQ(4095u, std::wstring(exact.Exclude).size());
    EXPECT_EQ(1023u, TrustedOf(exact, 0).size());
}

TEST(WatchSettingsTest, OtherSectionsAreNotRead)
{
    const WatchSettings settings =
        Read(L"[Other]\nUpdateMsec=9\nTrusted0=x\n[Horavant]\nSetTime=1\n");
    EXPECT_EQ(500u, settings.UpdateMsec);
    EXPECT_TRUE(settings.SetTime);
    EXPECT_TRUE(settings.Trusted.empty());
}

}  // namespace
