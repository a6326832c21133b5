// Which packets give a time, what time they give, and how it is stored.
#include "analyzer_probe.h"
#include "filetime.h"
#include "native_win32_hooks.h"
#include "test_packets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

uint64_t Ticks(const FILETIME& fileTime) {
    return uint64_t(fileTime.dwHighDateTime) << 32 | fileTime.dwLowDateTime;
}

struct Decoded {
    bool accepted;
    BYTE tableId;
    SYSTEMTIME time;
    FILETIME fileTime;
};

Decoded Read(const Bytes& packet) {
    Decoded result{};
    result.accepted = CTsAnalyzer::ReadTimePacket(packet.data(), result.tableId, result.time, result.fileTime);
    return result;
}

void ExpectTime(const SYSTEMTIME& time, int year, int month, int day, int dayOfWeek, int hour, int minute,
                int second) {
    EXPECT_EQ(time.wYear, year);
    EXPECT_EQ(time.wMonth, month);
    EXPECT_EQ(time.wDay, day);
    EXPECT_EQ(time.wDayOfWeek, dayOfWeek);
    EXPECT_EQ(time.wHour, hour);
    EXPECT_EQ(time.wMinute, minute);
    EXPECT_EQ(time.wSecond, second);
    EXPECT_EQ(time.wMilliseconds, 0);
}

TEST(UtcTime, DecodesTheStandardsExample) {
    const BYTE utc[5] = {0xC0, 0x79, 0x12, 0x45, 0x00};
    SYSTEMTIME time;
    ASSERT_TRUE(CTsAnalyzer::DecodeUtcTime(utc, time));
    ExpectTime(time, 1993, 10, 13, 3, 12, 45, 0);
}

TEST(UtcTime, AllOnesIsUndefinedButMjd65535IsADate) {
    const BYTE undefined[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    SYSTEMTIME time;
    EXPECT_FALSE(CTsAnalyzer::DecodeUtcTime(undefined, time));
    const BYTE last[5] = {0xFF, 0xFF, 0x23, 0x59, 0x59};
    ASSERT_TRUE(CTsAnalyzer::DecodeUtcTime(last, time));
    ExpectTime(time, 2038, 4, 22, 4, 23, 59, 59);
}

TEST(UtcTime, BcdDigitsAboveNineKeepTheirValue) {
    EXPECT_EQ(CTsAnalyzer::BcdToBinary(0x59), 59);
    EXPECT_EQ(CTsAnalyzer::BcdToBinary(0x0A), 10);
    EXPECT_EQ(CTsAnalyzer::BcdToBinary(0x1A), 20);
    EXPECT_EQ(CTsAnalyzer::BcdToBinary(0xFF), 165);
}

TEST(TimePacket, DecodesTheCapturedTot) {
    std::ifstream file(QUELLAP_DATA_DIR "/tot-dvbt-20071123-132514.ts", std::ios::binary);
    const Bytes packet{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_EQ(packet.size(), 188u);
    const Decoded decoded = Read(packet);
    ASSERT_TRUE(decoded.accepted);
    EXPECT_EQ(decoded.tableId, 0x73);
    ExpectTime(decoded.time, 2007, 11, 23, 5, 13, 25, 14);
    // 1195824314 s after 1970-01-01.
    EXPECT_EQ(Ticks(decoded.fileTime), 116444736000000000ull + 1195824314ull * 10000000);
}

TEST(TimePacket, AcceptsTdtAndTotWithOrWithoutAdaptationField) {
    PacketLayout layout;
    EXPECT_TRUE(Read(BuildPacket(layout)).accepted);
    layout.tableId = 0x73;
    EXPECT_EQ(Read(BuildPacket(layout)).tableId, 0x73);
    layout.adaptationControl = 3;
    layout.adaptationLength = 7;
    EXPECT_TRUE(Read(BuildPacket(layout)).accepted);
    layout.adaptationLength = 0;
    EXPECT_TRUE(Read(BuildPacket(layout)).accepted);
    layout.utcTime[2] = 0x0A;  // hour "0A" reads as 10
    const Decoded decoded = Read(BuildPacket(layout));
    ASSERT_TRUE(decoded.accepted);
    EXPECT_EQ(decoded.time.wHour, 10);
}

TEST(TimePacket, RejectsPacketsThatCarryNoUsableSectionStart) {
    const auto rejected = [](void (*change)(PacketLayout&)) {
        PacketLayout layout;
        change(layout);
        return !Read(BuildPacket(layout)).accepted;
    };
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.pid = 0x0015; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.pid = 0x1014; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.transportError = true; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.unitStart = false; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.scrambling = 1; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.scrambling = 2; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.adaptationControl = 0; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.adaptationControl = 2; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.adaptationControl = 3; s.adaptationLength = 183; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.adaptationControl = 3; s.adaptationLength = 182; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.tableId = 0x72; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.tableId = 0x00; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { for (uint8_t& b : s.utcTime) b = 0xFF; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.utcTime[4] = 0x60; }));  // leap second
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.utcTime[2] = 0x24; }));
    EXPECT_TRUE(rejected([](PacketLayout& s) { s.utcTime[3] = 0x5A; }));  // minute 60
}

TEST(TimePacket, SectionMustStartWithinTheFirst181Bytes) {
    for (int size : {188, 204}) {
        PacketLayout layout;
        layout.size = size;
        layout.pointer = 175;  // table_id at offset 180
        ASSERT_EQ(SectionOffset(layout), 180);
        EXPECT_TRUE(Read(BuildPacket(layout)).accepted) << size;
        layout.pointer = 176;
        EXPECT_FALSE(Read(BuildPacket(layout)).accepted) << size;
        layout.adaptationControl = 3;
        layout.adaptationLength = 10;
        layout.pointer = 164;
        ASSERT_EQ(SectionOffset(layout), 180);
        EXPECT_TRUE(Read(BuildPacket(layout)).accepted) << size;
        layout.pointer = 165;
        EXPECT_FALSE(Read(BuildPacket(layout)).accepted) << size;
    }
}

class StoredSample : public ::testing::Test {
protected:
    ~StoredSample() override { NativeUseRealTickCount(); }
    SampleRecorder recorder;
    CTsAnalyzer analyzer{L"test", recorder};
};

TEST_F(StoredSample, StartsEmptyAndIgnoresRejectedPackets) {
    EXPECT_EQ(TsAnalyzerProbe::Sample(analyzer).ReceivedTick, -1);
    PacketLayout layout;
    layout.tableId = 0x72;
    TsAnalyzerProbe::Process(analyzer, BuildPacket(layout).data());
    EXPECT_EQ(TsAnalyzerProbe::Sample(analyzer).ReceivedTick, -1);
    EXPECT_TRUE(recorder.samples.empty());
}

TEST_F(StoredSample, EveryAcceptedPacketStoresWithANewTick) {
    NativeSetTickCount(0xFFFFFFF0u, 20);
    const Bytes packet = BuildPacket(PacketLayout());
    TsAnalyzerProbe::Process(analyzer, packet.data());
    TsAnalyzerProbe::Process(analyzer, packet.data());
    ASSERT_EQ(recorder.samples.size(), 2u);
    EXPECT_EQ(recorder.samples[0].ReceivedTick, 0xFFFFFFF0ll);  // widened without sign
    EXPECT_EQ(recorder.samples[1].ReceivedTick, 4);
    ExpectTime(recorder.samples[1].BroadcastTime, 1993, 10, 13, 3, 12, 45, 0);
    FILETIME expected;
    ASSERT_TRUE(CalendarToFileTime(recorder.samples[1].BroadcastTime, expected));
    EXPECT_EQ(Ticks(recorder.samples[1].BroadcastFileTime), Ticks(expected));
    EXPECT_EQ(TsAnalyzerProbe::Sample(analyzer).ReceivedTick, 4);
}

TEST(AnalyzerConstruction, CutsTheNameTo63Characters) {
    const std::wstring longName(70, L'n');
    CTsAnalyzer analyzer(longName.c_str(), NoSamples);
    EXPECT_EQ(std::wstring(TsAnalyzerProbe::DriverName(analyzer)), longName.substr(0, 63));
    EXPECT_FALSE(TsAnalyzerProbe::Synced(analyzer));
    CTsAnalyzer empty(L"", NoSamples);
    EXPECT_EQ(std::wstring(TsAnalyzerProbe::DriverName(empty)), L"");
}

}  // namespace
