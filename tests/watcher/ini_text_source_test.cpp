#include "ini_text_source.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring String(const IniTextSource& source, const wchar_t* key, DWORD capacity = 64,
                    const wchar_t* defaultValue = L"default")
{
    WCHAR buffer[64];
    const DWORD length = source.ReadString(L"Horavant", key, defaultValue, buffer, capacity);
    EXPECT_EQ(std::wstring(buffer).size(), length) << key;
    return buffer;
}

int32_t Int(const IniTextSource& source, const wchar_t* key, int32_t defaultValue = -99)
{
    return source.ReadInt(L"Horavant", key, defaultValue);
}

TEST(IniTextSourceTest, NamesIgnoreCaseAndBlanks)
{
    const IniTextSource source(L"  [ horaVANT ]  \r\n  topmost   =   5  \r\n\tEXCLUDE=\t:a: \r\n");
    EXPECT_EQ(5, Int(source, L"TopMost"));
    EXPECT_EQ(L":a:", String(source, L"Exclude"));
}

TEST(IniTextSourceTest, LinesEndAtCrOrLf)
{
    const IniTextSource source(L"[Horavant]\rTopMost=1\rMinimize=2\r\nSetTime=3\nExclude=x\r");
    EXPECT_EQ(1, Int(source, L"TopMost"));
    EXPECT_EQ(2, Int(source, L"Minimize"));
    EXPECT_EQ(3, Int(source, L"SetTime"));
    EXPECT_EQ(L"x", String(source, L"Exclude"));
}

TEST(IniTextSourceTest, ValuesLoseOnePairOfMatchingQuotes)
{
    const IniTextSource source(
        L"[Horavant]\na=\"quoted value\"\nb='single'\nc=\"\"inner\"\"\nd=\"open\ne=mixed'\n"
        L"f=\"\nempty=\ninline=1 ; not a comment\n");
    EXPECT_EQ(L"quoted value", String(source, L"a"));
    EXPECT_EQ(L"single", String(source, L"b"));
    EXPECT_EQ(L"\"inner\"", String(source, L"c"));
    EXPECT_EQ(L"\"open", String(source, L"d"));
    EXPECT_EQ(L"mixed'", String(source, L"e"));
    EXPECT_EQ(L"\"", String(source, L"f"));
    EXPECT_EQ(L"", String(source, L"empty")) << "present but empty is not missing";
    EXPECT_EQ(L"1 ; not a comment", String(source, L"inline"));
}

TEST(IniTextSourceTest, CommentsKeylessLinesAndRepeats)
{
    const IniTextSource source(
        L"a=outside\n[Horavant]\n;a=commented\nkeyless line\nb=first\nb=second\n"
        L"[Other]\nc=elsewhere\n[Horavant]\nd=second section\n");
    EXPECT_EQ(L"default", String(source, L"a"));
    EXPECT_EQ(L"first", String(source, L"b"));
    EXPECT_EQ(L"default", String(source, L"c"));
    EXPECT_EQ(L"default", String(source, L"d")) << "only the first section of a name is read";
    EXPECT_EQ(L"default", String(source, L"keyless line"));
}

TEST(IniTextSourceTest, StringsAreCutToCapacityLessOne)
{
    const IniTextSource source(L"[Horavant]\nk=abcdef\n");
    EXPECT_EQ(L"abcdef", String(source, L"k", 7));
    EXPECT_EQ(L"abcde", String(source, L"k", 6));
    EXPECT_EQ(L"", String(source, L"k", 1));
    EXPECT_EQ(L"defa", String(source, L"missing", 5));
    WCHAR untouched = L'x';
    EXPECT_EQ(0u, source.ReadString(L"Horavant", L"k", L"", &untouched, 0));
    EXPECT_EQ(L'x', untouched);
}

TEST(IniTextSourceTest, IntegersAsThePlatformReadsThem)
{
    const IniTextSource source(
        L"[Horavant]\nplain=42\nneg=-17\nplus=+8\nhex=0x10\nupper=0XfF\noct=0o17\nbin=0b101\n"
        L"junk=12abc\nword=abc\nempty=\nquoted=\"33\"\nwide=4294967297\nmin=-2147483648\n"
        L"cut=" + std::wstring(26, L'0') + L"12345\n");
    EXPECT_EQ(42, Int(source, L"plain"));
    EXPECT_EQ(-17, Int(source, L"neg"));
    EXPECT_EQ(8, Int(source, L"plus"));
    EXPECT_EQ(16, Int(source, L"hex"));
    EXPECT_EQ(255, Int(source, L"upper"));
    EXPECT_EQ(15, Int(source, L"oct"));
    EXPECT_EQ(5, Int(source, L"bin"));
    EXPECT_EQ(12, Int(source, L"junk"));
    EXPECT_EQ(0, Int(source, L"word"));
    EXPECT_EQ(-99, Int(source, L"empty")) << "an empty value gives the default";
    EXPECT_EQ(-99, Int(source, L"missing"));
    EXPECT_EQ(33, Int(source, L"quoted"));
    EXPECT_EQ(1, Int(source, L"wide")) << "modulo 2^32";
    EXPECT_EQ(INT32_MIN, Int(source, L"min"));
    EXPECT_EQ(123, Int(source, L"cut")) << "only the first 29 units are read";
}

}  // namespace
