// The platform's private-profile reader against the portable one, and the settings path, with
// real files (run under Wine or Windows).
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "ini_text_source.h"
#include "settings_win32.h"

namespace {

// INI texts both readers must read alike: layout, line ends, names, comments, repeated
// sections and keys, quotes, number forms and cuts. Left out: a quoted value that exactly fills
// the buffer, which Wine alone cuts one unit short.
const std::vector<std::wstring> SharedTexts = {
    L"",
    L"[Horavant]\r\nUpdateMsec=250\r\nTopMost=2\r\nMinimize=1\r\nMinToTray=0\r\nSetTime=1\r\n"
    L"TotDelayMsec=-300\r\nExclude=:BonDriver_A:BonDriver_B:\r\nTrusted0=C:\\TV\\viewer.exe\r\n"
    L"Trusted1=C:\\Rec\\recorder.exe\r\n",
    L"[horavant]\r\nupdatemsec = 1000 \r\n  TOPMOST=0\r\n",
    L"; comment\r\n[Other]\r\nUpdateMsec=1\r\n[ Horavant ]\r\n;SetTime=1\r\nSetTime = \"1\"\r\n"
    L"Exclude=' :x: '\r\n",
    L"[Horavant]\r\nTrusted1=C:\\b.exe\r\nTotDelayMsec=abc\r\nUpdateMsec=12ms\r\n",
    L"[Horavant]\r\nTrusted0=a\r\nTrusted1=\r\nTrusted2=c\r\nUpdateMsec=0x10\r\n"
    L"TotDelayMsec=+25\r\nTopMost=-0\r\n",
    L"[Horavant]\r\nExclude=" + std::wstring(5000, L'e') + L"\r\nTrusted0=" +
        std::wstring(1500, L'p') + L"\r\nTrusted1=" + std::wstring(1023, L'q') + L"\r\n",
    L"[Horavant]\r\nUpdateMsec=4294967295\r\nTotDelayMsec=-2147483648\r\nExclude=\"\"\r\n",
    L"[Horavant]\r\nTopMost=1\r\n[Other]\r\nMinimize=1\r\n[HORAVANT]\r\nSetTime=1\r\nTopMost=3\r\n",
    L"[Horavant]\r\nTopMost=1\r\nTopMost=2\r\ntopmost=3\r\nExclude=a=b\r\n=5\r\n",
    L"SetTime=1\r\n[Horavant] trailing\r\nTopMost=4\r\n",
    L"[Horavant\r\nTopMost=4\r\n",
    L"[Horavant]\n  ;Minimize=1\n\tMinToTray\t=\t7\t\nTop Most=1\nExclude='x\"\nTrusted0=\"a\"bc\"\n",
    L"[Horavant]\nUpdateMsec=-0x10\nTopMost=0x\nMinimize=0o17\nMinToTray=0b101\nSetTime=4 2\n"
    L"TotDelayMsec=  -  5\n",
    L"[Horavant]\nUpdateMsec=0xFFFFFFFF1\nTotDelayMsec=99999999999\nTopMost=\"-3\"\nSetTime='0x1f'\n",
    L"[]\nTopMost=1\n[ Horavant]\nMinimize=2\n",
    L"[Horavant]\nExclude=\u00e9\u65e5\u672c\nTrusted0=C:\\\u30c6\u30ec\u30d3\\tv.exe\n",
    L"[Horavant]\rTopMost=1\rMinimize=1\r",
    L"[Horavant]\nExclude=  \"  spaced  \"  \nTrusted0=\" \"\nTrusted1=x\n",
    L"[Horavant]\nExclude=\"abcd\"\nTrusted0=abc\nTrusted1='abcd'\nTrusted2=\"ab\"\n",
};

const std::vector<std::wstring> Keys = {L"UpdateMsec", L"TopMost", L"Minimize", L"MinToTray",
                                        L"SetTime", L"TotDelayMsec", L"Exclude", L"Trusted0",
                                        L"Trusted1", L"Trusted2", L"Missing"};

std::wstring TempPath(const wchar_t* name)
{
    WCHAR directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    return std::wstring(directory) + name;
}

// UTF-16LE with a byte-order mark, which the platform reads as Unicode.
void WriteIniFile(const std::wstring& path, const std::wstring& text)
{
    std::vector<char> bytes = {'\xff', '\xfe'};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xff));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7f) {
            narrow += static_cast<char>(c);
        } else {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            narrow += escaped;
        }
    }
    return narrow;
}

std::wstring ReadText(const SettingsSource& source, const std::wstring& key, DWORD capacity)
{
    std::vector<WCHAR> buffer(capacity + 1, L'#');
    const DWORD length =
        source.ReadString(L"Horavant", key.c_str(), L"dflt", buffer.data(), capacity);
    return std::to_wstring(length) + L":" + buffer.data();
}

TEST(SettingsWineTest, PortableReaderAgreesWithThePlatform)
{
    const std::wstring path = TempPath(L"quellap_agree.ini");
    for (size_t t = 0; t < SharedTexts.size(); ++t) {
        WriteIniFile(path, SharedTexts[t]);
        const ProfileSettingsSource platform(path.c_str());
        const IniTextSource portable(SharedTexts[t]);
        for (const std::wstring& key : Keys) {
            EXPECT_EQ(platform.ReadInt(L"Horavant", key.c_str(), -7),
                      portable.ReadInt(L"Horavant", key.c_str(), -7))
                << "text " << t << " key " << std::string(key.begin(), key.end());
            for (DWORD capacity : {1u, 4u, 1024u, 4096u}) {
                const std::wstring fromPlatform = ReadText(platform, key, capacity);
                const std::wstring fromPortable = ReadText(portable, key, capacity);
                EXPECT_TRUE(fromPlatform == fromPortable)
                    << Narrow(fromPlatform) << " | " << Narrow(fromPortable) << " text " << t << " key " << std::string(key.begin(), key.end())
                    << " capacity " << capacity;
            }
        }
    }
    DeleteFileW(path.c_str());
}

TEST(SettingsWineTest, MissingFileGivesEveryDefault)
{
    WatchSettings settings{};
    ReadSettings(ProfileSettingsSource(TempPath(L"quellap_no_such_file.ini").c_str()), settings);
    EXPECT_EQ(500u, settings.UpdateMsec);
    EXPECT_FALSE(settings.TopMost || settings.Minimize || settings.MinToTray || settings.SetTime);
    EXPECT_EQ(0, settings.TotDelayMsec);
    EXPECT_EQ(0, settings.Exclude[0]);
    EXPECT_TRUE(settings.Trusted.empty());
}

// The path is formed with the real calls around a program name given by the test.
std::wstring ProgramName;

SettingsPathCalls CallsFor(const std::wstring& program)
{
    ProgramName = program;
    SettingsPathCalls calls = Win32SettingsPathCalls;
    calls.ModuleFileName = [](WCHAR* buffer, DWORD size) -> DWORD {
        const size_t length = ProgramName.copy(buffer, size - 1);
        buffer[length] = 0;
        return static_cast<DWORD>(ProgramName.size());
    };
    return calls;
}

TEST(SettingsWineTest, SettingsFileFollowsTheLongProgramName)
{
    const std::wstring directory = TempPath(L"Quellap Long Directory Name\\");
    CreateDirectoryW(directory.c_str(), NULL);
    const std::wstring withoutExtension = directory + L"HoravantProgram";
    const std::wstring withExtension = directory + L"Horavant Long Name.v2.exe";
    WriteIniFile(withoutExtension, L"");
    WriteIniFile(withExtension, L"");
    WCHAR shortName[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(withExtension.c_str(), shortName, MAX_PATH), 0u);

    WCHAR path[SettingsPathSize];
    ASSERT_TRUE(FormSettingsPath(CallsFor(withoutExtension), path));
    EXPECT_TRUE(directory + L"HoravantProgram.ini" == path);
    ASSERT_TRUE(FormSettingsPath(CallsFor(shortName), path));
    EXPECT_TRUE(directory + L"Horavant Long Name.v2.ini" == path);
    EXPECT_FALSE(FormSettingsPath(CallsFor(directory + L"absent.exe"), path))
        << "a program file that does not exist has no long name";

    DeleteFileW(withoutExtension.c_str());
    DeleteFileW(withExtension.c_str());
    RemoveDirectoryW(directory.c_str());
}

TEST(SettingsWineTest, LoadSettingsReadsTheFileBesideTheProgram)
{
    WCHAR program[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    std::wstring ini = program;
    ini = ini.substr(0, ini.find_last_of(L'.')) + L".ini";
    WriteIniFile(ini, L"[Horavant]\r\nUpdateMsec=750\r\nTrusted0=C:\\x.exe\r\n");
    WatchSettings settings{};
    LoadSettings(settings);
    DeleteFileW(ini.c_str());
    EXPECT_EQ(750u, settings.UpdateMsec);
    ASSERT_EQ(1u, settings.Trusted.size());
    EXPECT_TRUE(std::wstring(L"C:\\x.exe") == settings.Trusted[0].path);
}

}  // namespace
