#include "owner_module_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the fake calls answer.
struct OwnerScript {
    bool opens = true;
    std::wstring mainModule = L"C:\\PROGRA~1\\Viewer\\Viewer.exe";
    bool mainFails = false;
    std::wstring image = L"C:\\PROGRA~1\\Viewer\\Image.exe";
    bool imageFails = false;
    std::wstring longPath = L"C:\\Program Files\\Viewer\\Viewer.exe";
    bool longFails = false;
    std::vector<std::string> calls;
    std::wstring seenByLongPath;
} script;

const HANDLE Process = reinterpret_cast<HANDLE>(0x44);

// Writes as a module name call does: cut to size - 1 with a terminator, the length written.
DWORD Answer(const std::wstring& text, bool fails, WCHAR* buffer, DWORD size)
{
    if (fails) return 0;
    const size_t copied = text.copy(buffer, size - 1);
    buffer[copied] = 0;
    return static_cast<DWORD>(copied);
}

const OwnerPathCalls FakeCalls = {
    [](HWND) {
        script.calls.push_back("open");
        return script.opens ? Process : nullptr;
    },
    [](HANDLE process, WCHAR* name, DWORD size) {
        script.calls.push_back(process == Process ? "main" : "main of another process");
        return Answer(script.mainModule, script.mainFails, name, size);
    },
    [](HANDLE process, WCHAR* name, DWORD size) {
        script.calls.push_back(process == Process ? "image" : "image of another process");
        return Answer(script.image, script.imageFails, name, size);
    },
    [](const WCHAR* path, WCHAR* buffer, DWORD size) {
        script.calls.push_back("long");
        script.seenByLongPath = path;
        if (script.longPath.size() >= size) return static_cast<DWORD>(script.longPath.size() + 1);
        return Answer(script.longPath, script.longFails, buffer, size);
    },
    [](HANDLE process) {
        script.calls.push_back(process == Process ? "close" : "close another handle");
    },
};

class OwnerModulePathTest : public testing::Test {
protected:
    void SetUp() override { script = OwnerScript{}; }

    DWORD Find()
    {
        return FindOwnerModulePath(FakeCalls, reinterpret_cast<HWND>(0x10), path);
    }
    WCHAR path[ModulePathSize];
};

using Calls = std::vector<std::string>;

TEST_F(OwnerModulePathTest, MainModuleFirstThenItsLongForm)
{
    EXPECT_EQ(script.longPath.size(), Find());
    EXPECT_EQ(script.longPath, std::wstring(path));
    EXPECT_EQ(script.mainModule, script.seenByLongPath);
    EXPECT_EQ((Calls{"open", "main", "close", "long"}), script.calls);
}

// A 32-bit reader cannot list a 64-bit process's modules; the image name still names it.
TEST_F(OwnerModulePathTest, ImageNameWhenTheModulesCannotBeListed)
{
    script.mainFails = true;
    EXPECT_EQ(script.longPath.size(), Find());
    EXPECT_EQ(script.image, script.seenByLongPath);
    EXPECT_EQ((Calls{"open", "main", "image", "close", "long"}), script.calls);

    script = OwnerScript{};
    script.mainFails = true;
    script.imageFails = true;
    EXPECT_EQ(0u, Find());
    EXPECT_EQ((Calls{"open", "main", "image", "close"}), script.calls);
}

TEST_F(OwnerModulePathTest, NothingToCloseWhenTheOwnerCannotBeOpened)
{
    script.opens = false;
    EXPECT_EQ(0u, Find());
    EXPECT_EQ((Calls{"open"}), script.calls);
}

// 1022 units is the longest name taken whole; from 1023 on it may have been cut.
TEST_F(OwnerModulePathTest, NamesThatMayHaveBeenCutAreRefused)
{
    const std::wstring longest = L"C:\\" + std::wstring(1019, L'a');
    script.mainModule = longest;
    script.longPath = longest;
    EXPECT_EQ(1022u, Find());
    EXPECT_EQ(longest, std::wstring(path));

    script = OwnerScript{};
    script.mainModule = longest + L"b";
    script.image = longest + L"b";
    EXPECT_EQ(0u, Find()) << "a cut module name is not taken, nor a cut image name";
    EXPECT_EQ((Calls{"open", "main", "image", "close"}), script.calls);

    script = OwnerScript{};
    script.mainModule = longest + L"b";
    EXPECT_EQ(script.longPath.size(), Find());
    EXPECT_EQ(script.image, script.seenByLongPath);
}

TEST_F(OwnerModulePathTest, LongFormMustFitTheCallersBuffer)
{
    script.longPath = std::wstring(1023, L'p');
    EXPECT_EQ(1023u, Find());
    script.longPath = std::wstring(1024, L'p');
    EXPECT_EQ(0u, Find()) << "the room needed is no length";
    script.longFails = true;
    EXPECT_EQ(0u, Find());
}

}  // namespace
