#include "announce_record.h"

#include <gtest/gtest.h>

#include <string>

#include "announce_text.h"

namespace {

// The record points into the text, so the text is kept until the next parse.
bool Parse(const std::wstring& text, AnnounceRecord* record)
{
    static std::wstring kept;
    kept = text;
    return ParseAnnounceText(kept.c_str(), static_cast<DWORD>(kept.size()), record);
}

std::wstring NameOf(const AnnounceRecord& record)
{
    return std::wstring(record.name, record.nameLength);
}

std::wstring TimeRecord(uint32_t tick, uint32_t low, uint32_t high, const wchar_t* name)
{
    wchar_t text[AnnounceTextCapacity];
    const int length = FormatAnnounceTimeRecord(text, tick, low, high, name);
    return std::wstring(text, static_cast<size_t>(length));
}

// A well-formed time record with the fields the tests change.
std::wstring Crafted(const std::wstring& kindAndNumber, const std::wstring& fields,
                     const std::wstring& name)
{
    return L"QUELLAP " + kindAndNumber + L" " + fields + L" " + name;
}

const std::wstring GoodFields = L"0x000003e8 0x12345678 0x01d9abcd";

TEST(AnnounceRecordTest, ReadsEveryRecordTheFormatterWrites)
{
    const uint32_t values[] = {0, 1, 1000, 0x7fffffff, 0x80000000, 0xfedcba98, 0xffffffff};
    const std::wstring names[] = {L"", L"BonDriver_Quellap", L"名前 with spaces 0x1",
                                  std::wstring(63, L'n')};
    for (uint32_t tick : values) {
        for (uint32_t low : values) {
            for (const std::wstring& name : names) {
                const uint32_t high = ~low;
                AnnounceRecord record;
                ASSERT_TRUE(Parse(TimeRecord(tick, low, high, name.c_str()), &record));
                EXPECT_EQ(AnnounceKind::Time, record.kind);
                EXPECT_EQ(tick, record.tick);
                EXPECT_EQ(low, record.fileTime.dwLowDateTime);
                EXPECT_EQ(high, record.fileTime.dwHighDateTime);
                EXPECT_EQ(name, NameOf(record));
            }
        }
    }
}

TEST(AnnounceRecordTest, NoTimeRecordsWhateverFollows)
{
    wchar_t text[AnnounceTextCapacity];
    AnnounceRecord record;
    FormatAnnounceNoTimeRecord(text, L"BonDriver_Quellap");
    ASSERT_TRUE(ParseAnnounceText(text, 29, &record));
    EXPECT_EQ(AnnounceKind::NoTime, record.kind);

    for (const wchar_t* other : {L"QUELLAP N00 ", L"QUELLAP Nxx garbage", L"QUELLAP N99 "}) {
        EXPECT_TRUE(Parse(other, &record)) << other;
        EXPECT_EQ(AnnounceKind::NoTime, record.kind) << other;
    }
    EXPECT_FALSE(Parse(L"QUELLAP N00", &record)) << "11 characters are too short";
}

TEST(AnnounceRecordTest, PrefixAndKindMustBeExact)
{
    AnnounceRecord record;
    const std::wstring good = Crafted(L"Y33", GoodFields, L"x");
    ASSERT_TRUE(Parse(good, &record));
    for (const std::wstring& bad :
         {L"quellap" + good.substr(7), L"QUELLAp" + good.substr(7), L"QUELLAP_" + good.substr(8),
          L" " + good, Crafted(L"y33", GoodFields, L"x"), Crafted(L"n00", L"", L""),
          Crafted(L"X33", GoodFields, L"x"), std::wstring(L"QUELLAP ")}) {
        record.tick = 77;
        EXPECT_FALSE(Parse(bad, &record)) << bad;
        EXPECT_EQ(0u, record.tick) << "the record is reset on failure";
    }
}

TEST(AnnounceRecordTest, NameOffsetMustCoverTheNumbersAndStayInsideTheText)
{
    AnnounceRecord record;
    EXPECT_FALSE(Parse(Crafted(L"Y32", GoodFields, L"name"), &record));
    EXPECT_FALSE(Parse(Crafted(L"Y-1", GoodFields, L"name"), &record));
    EXPECT_FALSE(Parse(Crafted(L"Y", GoodFields, L"name"), &record));

    // Exactly 45 characters: the name is empty.
    const std::wstring bare = Crafted(L"Y33", GoodFields, L"");
    ASSERT_EQ(45u, bare.size());
    ASSERT_TRUE(Parse(bare, &record));
    EXPECT_EQ(L"", NameOf(record));
    EXPECT_EQ(1000u, record.tick);

    // A larger offset skips into the name; one past the end is refused.
    ASSERT_TRUE(Parse(Crafted(L"Y35", GoodFields, L"abcd"), &record));
    EXPECT_EQ(L"cd", NameOf(record));
    EXPECT_TRUE(Parse(Crafted(L"Y37", GoodFields, L"abcd"), &record));
    EXPECT_EQ(L"", NameOf(record));
    EXPECT_FALSE(Parse(Crafted(L"Y38", GoodFields, L"abcd"), &record));
    // The offset wraps to 32 bits as the platform's reader does: 2^32 + 33 reads as 33.
    EXPECT_TRUE(Parse(Crafted(L"Y4294967329", GoodFields, L"abcd"), &record));
}

TEST(AnnounceRecordTest, EachNumberMustParse)
{
    AnnounceRecord record;
    const std::wstring fields[] = {L"0xnothex00 0x12345678 0x01d9abcd",
                                   L"0x000003e8 ?x12345678 0x01d9abcd",
                                   L"0x000003e8 0x12345678 0x        "};
    for (const std::wstring& f : fields) {
        EXPECT_FALSE(Parse(Crafted(L"Y33", f, L"n"), &record)) << f;
    }
}

TEST(AnnounceRecordTest, OffFormatNumbersAreSettledLikeTheShellReader)
{
    AnnounceRecord record;
    // Decimal numbers, blanks and signs in front, wider numbers: read, then cut to 32 bits.
    ASSERT_TRUE(Parse(Crafted(L"Y33", L"1000000000 +000000016 -00000001", L"n"), &record));
    EXPECT_EQ(1000000000u, record.tick);
    EXPECT_EQ(16u, record.fileTime.dwLowDateTime);
    EXPECT_EQ(0xffffffffu, record.fileTime.dwHighDateTime);
    ASSERT_TRUE(Parse(Crafted(L"Y35", L"  0X00ff   0x0000000A 0x1234567812", L"n"), &record));
    EXPECT_EQ(0xffu, record.tick);
    EXPECT_EQ(10u, record.fileTime.dwLowDateTime);
    EXPECT_EQ(0x34567812u, record.fileTime.dwHighDateTime);
    EXPECT_EQ(L"n", NameOf(record));
}

TEST(AnnounceRecordTest, ReadsNoFurtherThanTheLengthOrANul)
{
    AnnounceRecord record;
    std::wstring text = Crafted(L"Y33", GoodFields, L"name");
    EXPECT_FALSE(ParseAnnounceText(text.c_str(), 44, &record)) << "cut inside the numbers";
    ASSERT_TRUE(ParseAnnounceText(text.c_str(), 47, &record));
    EXPECT_EQ(L"na", NameOf(record));
    text[46] = 0;
    ASSERT_TRUE(Parse(text, &record));
    EXPECT_EQ(L"n", NameOf(record));
    text[20] = 0;
    EXPECT_FALSE(Parse(text, &record));
}

}  // namespace
