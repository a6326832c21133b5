#include "announce_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The record buffer with a canary after it; everything past the terminator must stay untouched.
struct RecordBuffer {
    wchar_t text[AnnounceTextCapacity + 1];
    RecordBuffer() {
        for (wchar_t& c : text)
            c = L'#';
    }
    std::wstring Str() const { return text; }
    bool UntouchedAfter(int length) const {
        for (int i = length + 1; i <= AnnounceTextCapacity; ++i)
            if (text[i] != L'#')
                return false;
        return true;
    }
};

std::wstring NameOf(int length) {
    std::wstring name;
    for (int i = 0; i < length; ++i)
        name += wchar_t(L'a' + i % 26);
    return name;
}

TEST(AnnounceTimeRecord, PutsEveryFieldAtItsPosition) {
    RecordBuffer buffer;
    int length = FormatAnnounceTimeRecord(buffer.text, 1000, 0x8a3c0f00u, 0x01d2b7e5u,
                                          L"BonDriver_PT3-T");
    EXPECT_EQ(buffer.Str(), L"QUELLAP Y33 0x000003e8 0x8a3c0f00 0x01d2b7e5 BonDriver_PT3-T");
    EXPECT_EQ(length, 45 + 15);
    EXPECT_EQ(buffer.text[AnnounceKindPos], L'Y');
    EXPECT_EQ(buffer.Str().substr(AnnounceTickPos, AnnounceNumberLength), L"0x000003e8");
    EXPECT_EQ(buffer.Str().substr(AnnounceFileTimeLowPos, AnnounceNumberLength), L"0x8a3c0f00");
    EXPECT_EQ(buffer.Str().substr(AnnounceFileTimeHighPos, AnnounceNumberLength), L"0x01d2b7e5");
    EXPECT_EQ(buffer.Str().substr(AnnounceTimeNamePos), L"BonDriver_PT3-T");
    EXPECT_TRUE(buffer.UntouchedAfter(length));
}

TEST(AnnounceTimeRecord, NumbersKeepPrefixAndLeadingZerosAtBothExtremes) {
    RecordBuffer buffer;
    FormatAnnounceTimeRecord(buffer.text, 0, 0xffffffffu, 0x0000000au, L"n");
    EXPECT_EQ(buffer.Str(), L"QUELLAP Y33 0x00000000 0xffffffff 0x0000000a n");
    FormatAnnounceTimeRecord(buffer.text, 0xffffffffu, 0, 0xABCDEF12u, L"n");
    EXPECT_EQ(buffer.Str(), L"QUELLAP Y33 0xffffffff 0x00000000 0xabcdef12 n");
}

TEST(AnnounceTimeRecord, NameIsCutTo63AndMayBeEmpty) {
    RecordBuffer buffer;
    const std::wstring name63 = NameOf(63);
    EXPECT_EQ(FormatAnnounceTimeRecord(buffer.text, 1, 2, 3, name63.c_str()), 108);
    EXPECT_EQ(buffer.Str().substr(AnnounceTimeNamePos), name63);
    EXPECT_TRUE(buffer.UntouchedAfter(108));

    const std::wstring name100 = NameOf(100);
    EXPECT_EQ(FormatAnnounceTimeRecord(buffer.text, 1, 2, 3, name100.c_str()), 108);
    EXPECT_EQ(buffer.Str().substr(AnnounceTimeNamePos), name63);

    EXPECT_EQ(FormatAnnounceTimeRecord(buffer.text, 1, 2, 3, L""), 45);
    EXPECT_EQ(buffer.text[44], L' ');
    EXPECT_EQ(buffer.text[45], L'\0');
}

TEST(AnnounceNoTimeRecord, CarriesOnlyTheName) {
    RecordBuffer buffer;
    EXPECT_EQ(FormatAnnounceNoTimeRecord(buffer.text, L"BonDriver_X"), 12 + 11);
    EXPECT_EQ(buffer.Str(), L"QUELLAP N00 BonDriver_X");
    EXPECT_EQ(buffer.text[AnnounceKindPos], L'N');
    EXPECT_TRUE(buffer.UntouchedAfter(23));

    EXPECT_EQ(FormatAnnounceNoTimeRecord(buffer.text, L""), 12);
    EXPECT_EQ(buffer.Str(), L"QUELLAP N00 ");

    const std::wstring name70 = NameOf(70);
    EXPECT_EQ(FormatAnnounceNoTimeRecord(buffer.text, name70.c_str()), 75);
    EXPECT_EQ(buffer.Str().substr(AnnounceNoTimeNamePos), NameOf(63));
}

}  // namespace
