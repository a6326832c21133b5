// The wrapper and QuellapSetup derive the same file names from the same driver path: the wrapper
// through the buffer functions it is built with, QuellapSetup through its own names.
#include "wrapper_files.h"

#include <gtest/gtest.h>

#include <string>

#include "setup_names.h"

namespace {

constexpr size_t MaxPath = 260;

std::wstring Repeat(wchar_t c, size_t count)
{
    return std::wstring(count, c);
}

TEST(WrapperFilesTest, WrapperAndSetupAgree)
{
    const std::wstring folder = L"C:\\TV\\";
    const struct {
        std::wstring path;
        bool loads;         // the stem fits the wrapper's limit
        size_t nameLength;  // of the source name
    } cases[] = {
        {folder + L"BonDriver_X.dll", true, 11},
        {folder + Repeat(L'n', 63) + L".dll", true, 63},
        {folder + Repeat(L'n', 64) + L".dll", true, 63},
        {folder + Repeat(L'p', WrapperStemLimit - folder.size()) + L".dll", true, 63},
        {folder + Repeat(L'p', WrapperStemLimit + 1 - folder.size()) + L".dll", false, 63},
        {L"C:\\TV.old\\BonDriver_X", true, 11},      // a dot in a folder is no extension
        {L"C:\\TV\\BonDriver_X.v 2.dll", true, 15},  // the last dot counts
        {L"C:\\TV\\BonDriver_X.v 2", true, 15},      // a blank after a dot: no extension
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 40) + L"... of " + std::to_wstring(c.path.size()));
        wchar_t wrapped[MaxPath];
        EXPECT_EQ(c.loads, WithStemEnding(c.path.c_str(), WrappedDriverSuffix, wrapped, MaxPath));
        EXPECT_EQ(c.loads, WithoutExtension(c.path).size() <= WrapperStemLimit);
        if (c.loads) EXPECT_EQ(WrappedDriverPath(c.path), wrapped);

        wchar_t name[SourceNameLimit + 1];
        SourceNameOf(c.path.c_str(), name);
        const std::wstring setupName = WithoutExtension(FileNameOf(c.path));
        EXPECT_EQ(setupName.substr(0, SourceNameLimit), name);
        EXPECT_EQ(c.nameLength, std::wstring(name).size());

        wchar_t copied[MaxPath];
        ASSERT_EQ(c.loads, WithStemEnding(c.path.c_str(), CopiedSettingsSuffix, copied, MaxPath));
        if (c.loads) EXPECT_EQ(CopiedSettingsPath(c.path), copied);
    }
}

}  // namespace
