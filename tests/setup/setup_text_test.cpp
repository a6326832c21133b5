// The command line, the console and the texts in both languages.
#include <gtest/gtest.h>

#include "fake_folders.h"
#include "fake_services.h"
#include "setup_messages.h"
#include "setup_options.h"
#include "setup_program.h"

namespace {

struct FakeConsole : SetupConsole {
    bool own = false;
    std::wstring out;
    int waits = 0;
    void Write(bool, const std::wstring& text) override { out += text; }
    bool IsOwn() override { return own; }
    void WaitForEnter() override { ++waits; }
};

TEST(SetupTextTest, CommandLines)
{
    SetupOptions o;
    ASSERT_TRUE(ParseSetupOptions({L"C:\\TV\\a.dll", L"wrap"}, o));
    EXPECT_EQ(Verb::Dropped, o.verb) << "Explorer passes paths only";
    ASSERT_TRUE(ParseSetupOptions({L"--lang", L"ja", L"service", L"install", L"C:\\H.exe"}, o));
    EXPECT_EQ(ServiceVerb::Install, o.service);
    EXPECT_EQ(std::vector<std::wstring>{L"C:\\H.exe"}, o.paths);
    for (const std::vector<std::wstring>& bad :
         {std::vector<std::wstring>{}, {L"status"}, {L"--lang", L"de", L"status", L"a"},
          {L"--from"}, {L"--bad", L"x", L"a.dll"}, {L"--help", L"a.dll"}, {L"service"},
          {L"service", L"start"}, {L"service", L"install", L"a", L"b"},
          {L"service", L"status", L"a"}}) {
        EXPECT_FALSE(ParseSetupOptions(bad, o)) << bad.size();
    }
}

// Explorer gives the program a console of its own, which goes when it ends; at a prompt or in a
// script the console is shared, and nothing may wait for Enter there.
TEST(SetupTextTest, WaitsForEnterOnlyInAConsoleOfItsOwn)
{
    const std::wstring driver = L"C:\\TV\\BonDriver_T.dll";
    const struct {
        std::vector<std::wstring> arguments;
        bool own, waits;
    } cases[] = {{{driver}, false, false}, {{driver}, true, true},
                 {{L"status", driver}, true, false}, {{L"service", L"install"}, true, false},
                 {{}, true, true}};
    for (const auto& c : cases) {
        FakeFolders store;
        FakeServices services;
        FakeConsole console;
        console.own = c.own;
        EXPECT_EQ(c.arguments.empty() ? 2 : 1,
                  RunSetup(c.arguments, store, services, console, L"C:", false));
        EXPECT_EQ(c.waits ? 1 : 0, console.waits) << c.own;
        EXPECT_EQ(c.waits, console.out.find(L"Press Enter") != std::wstring::npos);
    }
}

// A translation that drops or adds an argument would show the wrong file or number.
TEST(SetupTextTest, BothLanguagesShowTheSameArguments)
{
    for (int id = 0; id < int(Message::Count); ++id) {
        FileReport report;
        report.result = {Message(id), {L"<0>", L"<1>", L"<2>", L"<3>"}};
        const std::wstring english = FormatReport(report, false);
        const std::wstring japanese = FormatReport(report, true);
        EXPECT_NE(english, japanese) << id;
        for (const wchar_t* arg : {L"<0>", L"<1>", L"<2>", L"<3>"}) {
            const bool inEnglish = english.find(arg) != std::wstring::npos;
            EXPECT_EQ(inEnglish, japanese.find(arg) != std::wstring::npos) << id;
        }
    }
}

}  // namespace
