#include "settings_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the fake calls return; a length of -1 means "the text's own length".
struct PathScript {
    std::wstring module = L"C:\\PROGRA~1\\HORAVA~1.EXE";
    long moduleResult = -1;
    std::wstring longPath = L"C:\\Program Files\\Horavant.exe";
    long longResult = -1;
    bool renameWorks = true;
    std::wstring seenByLongPath;
} script;

DWORD Put(const std::wstring& text, long result, WCHAR* buffer, DWORD size)
{
    const size_t copied = text.copy(buffer, size - 1);
    buffer[copied] = 0;
    return result < 0 ? static_cast<DWORD>(text.size()) : static_cast<DWORD>(result);
}

const SettingsPathCalls FakeCalls = {
    [](WCHAR* buffer, DWORD size) { return Put(script.module, script.moduleResult, buffer, size); },
    [](const WCHAR* path, WCHAR* buffer, DWORD size) {
        script.seenByLongPath = path;
        return Put(script.longPath, script.longResult, buffer, size);
    },
    [](WCHAR* path, const WCHAR* extension) -> BOOL {
        std::wstring p(path);
        const size_t dot = p.find_last_of(L".\\");
        if (dot != std::wstring::npos && p[dot] == L'.') p.erase(dot);
        p += extension;
        p.copy(path, p.size());
        path[p.size()] = 0;
        return script.renameWorks;
    },
};

class SettingsPathTest : public testing::Test {
protected:
    void SetUp() override { script = PathScript(); }
    WCHAR path[SettingsPathSize];
};

TEST_F(SettingsPathTest, LongNameWithIniExtension)
{
    ASSERT_TRUE(FormSettingsPath(FakeCalls, path));
    EXPECT_EQ(L"C:\\PROGRA~1\\HORAVA~1.EXE", script.seenByLongPath);
    EXPECT_EQ(L"C:\\Program Files\\Horavant.ini", std::wstring(path));
}

TEST_F(SettingsPathTest, EveryResultMustFitTheBuffer)
{
    script.moduleResult = 259;
    script.longResult = 259;
    EXPECT_TRUE(FormSettingsPath(FakeCalls, path));

    const long failing[] = {0, 260, 300};
    for (long result : failing) {
        script = PathScript();
        script.moduleResult = result;
        EXPECT_FALSE(FormSettingsPath(FakeCalls, path)) << "module name " << result;
        EXPECT_EQ(L"", script.seenByLongPath);
        script = PathScript();
        script.longResult = result;
        EXPECT_FALSE(FormSettingsPath(FakeCalls, path)) << "long name " << result;
    }
    script = PathScript();
    script.renameWorks = false;
    EXPECT_FALSE(FormSettingsPath(FakeCalls, path));
}

}  // namespace
