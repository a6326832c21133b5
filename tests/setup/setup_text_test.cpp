// The command line and the texts in both languages.
#include <gtest/gtest.h>

#include "setup_messages.h"
#include "setup_options.h"

namespace {

TEST(SetupTextTest, CommandLines)
{
    SetupOptions o;
    ASSERT_TRUE(ParseSetupOptions({L"C:\\TV\\a.dll", L"wrap"}, o));
    EXPECT_EQ(Verb::Dropped, o.verb) << "Explorer passes paths only";
    for (const std::vector<std::wstring>& bad :
         {std::vector<std::wstring>{}, {L"status"}, {L"--lang", L"de", L"status", L"a"},
          {L"--from"}, {L"--bad", L"x", L"a.dll"}, {L"--help", L"a.dll"}}) {
        EXPECT_FALSE(ParseSetupOptions(bad, o)) << bad.size();
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
