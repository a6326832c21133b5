// The program's resources as Windows loads them: the classic dialog template with its one list
// box, the clock-face icon group, the manifest as the loader reads it and the service's events.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "horavant_events.h"
#include "resource.h"
#include "unix_path.h"

namespace {

class ProgramResources : public testing::Test {
protected:
    HMODULE Program = NULL;

    void SetUp() override
    {
        Program = LoadLibraryExW(WindowsPathOfUnix(QUELLAP_HORAVANT_UNIX).c_str(), NULL,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, Program);
    }
    void TearDown() override { FreeLibrary(Program); }

    // The language-neutral resource's bytes; empty when it is missing.
    std::vector<BYTE> Bytes(const WCHAR* type, WORD id) const
    {
        const HRSRC found = FindResourceExW(Program, type, MAKEINTRESOURCEW(id),
                                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        if (!found) return {};
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(Program, found)));
        return std::vector<BYTE>(data, data + SizeofResource(Program, found));
    }
    // A windowsSettings value as the loader reads it (a misspelt namespace is ignored).
    static std::wstring ManifestSetting(const WCHAR* space, const WCHAR* name)
    {
        const std::wstring program = WindowsPathOfUnix(QUELLAP_HORAVANT_UNIX);
        ACTCTXW request = {sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, program.c_str()};
        request.lpResourceName = MAKEINTRESOURCEW(1);
        const HANDLE context = CreateActCtxW(&request);
        WCHAR value[64] = {};
        if (context == INVALID_HANDLE_VALUE) return value;
        QueryActCtxSettingsW(0, context, space, name, value, 64, NULL);
        ReleaseActCtx(context);
        return value;
    }
};

void Put16(std::vector<BYTE>& out, WORD value)
{
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void Put32(std::vector<BYTE>& out, DWORD value)
{
    Put16(out, static_cast<WORD>(value));
    Put16(out, static_cast<WORD>(value >> 16));
}

void PutText(std::vector<BYTE>& out, const std::wstring& text)
{
    for (wchar_t c : text) Put16(out, c);
    Put16(out, 0);
}

TEST_F(ProgramResources, DialogTemplate)
{
    std::vector<BYTE> expected;
    Put32(expected, 0x90CF084C);  // style
    Put32(expected, 0x100);       // extended style
    Put16(expected, 1);           // items
    for (WORD value : {0, 0, 360, 120}) Put16(expected, value);
    Put16(expected, 0);  // no menu
    Put16(expected, 0);  // the standard dialog class
    PutText(expected, L"Horavant");
    Put16(expected, 10);
    PutText(expected, L"ＭＳ ゴシック");
    while (expected.size() % 4 != 0) expected.push_back(0);  // items are DWORD-aligned
    Put32(expected, 0x50A10103);
    Put32(expected, 0);
    for (WORD value : {7, 7, 346, 106, IDC_SOURCELIST, 0xFFFF, 0x0083}) Put16(expected, value);
    Put16(expected, 0);  // no text
    Put16(expected, 0);  // no creation data
    EXPECT_EQ(expected, Bytes(MAKEINTRESOURCEW(5), IDD_MAIN));
}

TEST_F(ProgramResources, ClockFaceIconAndManifest)
{
    const std::vector<BYTE> group = Bytes(MAKEINTRESOURCEW(14), IDI_MAIN);
    ASSERT_EQ(6u + 2 * 14, group.size());
    EXPECT_EQ(2, group[4]);
    for (int image = 0; image < 2; ++image) {
        const BYTE* entry = &group[6 + image * 14];
        const int size = image == 0 ? 32 : 48;
        EXPECT_EQ(size, entry[0]);
        EXPECT_EQ(size, entry[1]);
        EXPECT_EQ(32, entry[6]) << "bits per pixel";
        EXPECT_EQ(image + 1, entry[12]) << "icon id";
        const std::vector<BYTE> icon = Bytes(MAKEINTRESOURCEW(3), static_cast<WORD>(image + 1));
        BITMAPINFOHEADER header;
        ASSERT_GE(icon.size(), sizeof header);
        memcpy(&header, icon.data(), sizeof header);
        EXPECT_EQ(2 * size, header.biHeight) << "colour rows and AND mask";
        EXPECT_EQ(sizeof header + size * size * 4 + (size + 31) / 32 * 4 * size, icon.size());
    }
    const std::vector<BYTE> manifest = Bytes(MAKEINTRESOURCEW(24), 1);
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(std::string::npos,
              text.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"));
    // Sharp text at any scale rather than a stretched bitmap.
    EXPECT_EQ(L"true/pm", ManifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                          L"dpiAware"));
    EXPECT_EQ(L"PerMonitorV2, PerMonitor", ManifestSetting(
        L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
}

// The event log finds an event's text by the id the service reports it with, in the reader's
// language.
TEST_F(ProgramResources, EventMessagesInEnglishAndJapanese)
{
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(L"-1500"), reinterpret_cast<DWORD_PTR>(L"2"),
                           reinterpret_cast<DWORD_PTR>(L"1/5")};
    const auto message = [&](WORD language) {
        WCHAR text[512] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, Program,
                       EVENT_ADJUSTMENT_STARTED, language, text, 512,
                       reinterpret_cast<va_list*>(inserts));
        return std::wstring(text);
    };
    EXPECT_EQ(0u, message(0x409).find(L"Clock adjustment started: the average offset of 2 "
                                      L"trusted sources is -1500 ms"));
    EXPECT_NE(std::wstring::npos, message(0x409).find(L"runs at 1/5 times its normal rate"));
    EXPECT_EQ(0u, message(0x411).find(L"時計合わせを開始しました。信頼するソース 2 個の平均のずれは "
                                      L"-1500 ミリ秒です"));
}

}  // namespace
