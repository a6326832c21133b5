// The sample generator's packets: section CRC and UTC_time encoding, checked against the
// captured packet and the decoder.
#include "ts_packet_writer.h"

#include "ts_analyzer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TEST(TsPacketWriter, CrcMatchesTheCapturedTot) {
    std::ifstream file(QUELLAP_DATA_DIR "/tot-dvbt-20071123-132514.ts", std::ios::binary);
    const Bytes packet{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_EQ(packet.size(), 188u);
    const size_t sectionLength = size_t(packet[6] & 0x0F) << 8 | packet[7];  // after byte 7
    EXPECT_EQ(SectionCrc32(&packet[5], 3 + sectionLength - 4), 0xD8BD43A8u);
    EXPECT_EQ(SectionCrc32(&packet[5], 3 + sectionLength), 0u);  // the whole section, CRC included
    TsPacketWriter writer;
    const Bytes tot = writer.TimeOffsetSection({2007, 11, 23, 13, 25, 14});
    EXPECT_EQ(SectionCrc32(&tot[5], 3 + 11), 0u);
}

TEST(TsPacketWriter, TimesDecodeBackAcrossTheMjdWrap) {
    const UtcTime times[] = {{1993, 10, 13, 12, 45, 0}, {2038, 4, 22, 23, 59, 59}, {2038, 4, 23, 0, 0, 0},
                             {2079, 8, 4, 7, 8, 9}};
    for (const UtcTime& time : times) {
        uint8_t field[5];
        EncodeUtcTime(time, field);
        SYSTEMTIME decoded;
        ASSERT_TRUE(CTsAnalyzer::DecodeUtcTime(field, decoded));
        EXPECT_EQ(decoded.wYear * 10000 + decoded.wMonth * 100 + decoded.wDay,
                  time.year * 10000 + time.month * 100 + time.day);
        EXPECT_EQ(decoded.wHour * 10000 + decoded.wMinute * 100 + decoded.wSecond,
                  time.hour * 10000 + time.minute * 100 + time.second);
    }
    const UtcTime later = AddSeconds({2024, 12, 31, 23, 59, 54}, 7);
    EXPECT_EQ(later.year * 10000 + later.month * 100 + later.day, 20250101);
    EXPECT_EQ(later.second, 1);
}

}  // namespace
