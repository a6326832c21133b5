// The command line and the texts in both languages.
#include <gtest/gtest.h>

#include "setup_messages.h"
#include "setup_options.h"

namespace {

TEST(SetupTextTest, CommandLines)
{
    SetupOptions options;
    ASSERT_TRUE(
        ParseSetupOptions({L"--from", L"D:\\Q", L"--lang", L"ja", L"wrap", L"a.dll"}, options));
    EXPECT_EQ(Verb::Wrap, options.verb);
    EXPECT_EQ(L"D:\\Q", options.from);
    EXPECT_EQ(Language::Japanese, options.language);
    EXPECT_EQ(std::vector<std::wstring>{L"a.dll"}, options.paths);
    ASSERT_TRUE(ParseSetupOptions({L"C:\\TV\\a.dll", L"C:\\TV\\wrap"}, options));
    EXPECT_EQ(Verb::Dropped, options.verb) << "Explorer passes paths only";
    EXPECT_EQ(2u, options.paths.size());
    ASSERT_TRUE(ParseSetupOptions({L"--help"}, options));
    EXPECT_TRUE(options.help);
    for (const std::vector<std::wstring>& bad :
         {std::vector<std::wstring>{}, {L"status"}, {L"--lang", L"de", L"status", L"a"},
          {L"--from"}, {L"--bad", L"x", L"a.dll"}, {L"--help", L"a.dll"}}) {
        EXPECT_FALSE(ParseSetupOptions(bad, options)) << bad.size();
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
    FileReport report;
    report.path = L"C:\\TV\\BonDriver_T.dll";
    report.result = {Message::RefuseInUse, {L"BonDriver_T.dll", L"32"}};
    report.notes = {{Message::NoteNothingChanged, {}}};
    EXPECT_EQ(L"C:\\TV\\BonDriver_T.dll: refused: BonDriver_T.dll is in use (error 32); close "
              L"the TV program and try again; nothing was changed",
              FormatReport(report, false));
    EXPECT_EQ(L"C:\\TV\\BonDriver_T.dll: 中止: BonDriver_T.dll は使用中です (エラー 32)。"
              L"TV プログラムを閉じてからやり直してください。何も変更していません",
              FormatReport(report, true));
}

}  // namespace
