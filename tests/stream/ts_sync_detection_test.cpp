// Packet-size detection and confirmation while unsynchronised: which windows synchronise, at
// which size, and when the next attempt is made.
#include "analyzer_probe.h"
#include "framing_reference.h"
#include "native_win32_hooks.h"
#include "test_packets.h"

#include <gtest/gtest.h>

namespace {

// `prefix` bytes of 0xFF (the tail of a packet cut by the stream's start), then packets of
// `size` bytes: sync byte, PID 0x1FFF, 0xFF stuffing.
Bytes NullStream(int size, int prefix, size_t length) {
    Bytes stream(length, 0xFF);
    for (size_t at = size_t(prefix); at < length; at += size_t(size)) {
        stream[at] = 0x47;
        if (at + 2 < length)
            stream[at + 1] = 0x1F;
    }
    return stream;
}

void Feed(CTsAnalyzer& analyzer, const Bytes& bytes, size_t from, size_t count) {
    analyzer.OnGetTsStream(bytes.data() + from, DWORD(count));
}

TEST(SyncDetection, SynchronisesOnTheFirstWindowAtEveryPhase) {
    for (int size : {188, 192, 204, 319}) {
        for (int prefix = 0; prefix < size; prefix += 7) {
            CTsAnalyzer analyzer(L"test", NoSamples);
            const Bytes stream = NullStream(size, prefix, 4096);
            Feed(analyzer, stream, 0, 4096);
            ASSERT_TRUE(TsAnalyzerProbe::Synced(analyzer)) << size << " at " << prefix;
            EXPECT_EQ(TsAnalyzerProbe::PacketSize(analyzer), size);
            // The packet cut off by the window's end is carried, starting with its sync byte.
            const int32_t carried = (4096 - prefix) % size;
            EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), carried);
            if (carried > 0)
                EXPECT_EQ(TsAnalyzerProbe::PacketBuffer(analyzer)[0], 0x47);
            EXPECT_EQ(TsAnalyzerProbe::WindowFill(analyzer), 0);
        }
    }
}

TEST(SyncDetection, NeverSynchronisesOn320BytePackets) {
    CTsAnalyzer analyzer(L"test", NoSamples);
    const Bytes stream = NullStream(320, 11, 5 * 4096);
    for (size_t at = 0; at < stream.size(); at += 4096) {
        Feed(analyzer, stream, at, 4096);
        EXPECT_FALSE(TsAnalyzerProbe::Synced(analyzer));
        EXPECT_EQ(TsAnalyzerProbe::PacketSize(analyzer), 0);
    }
}

TEST(SyncDetection, OneDamagedSyncByteFailsTheAttemptUntil4096FreshBytes) {
    Bytes stream = NullStream(188, 0, 3 * 4096);
    stream[188 * 10] = 0x46;
    CTsAnalyzer analyzer(L"test", NoSamples);
    Feed(analyzer, stream, 0, 4096);
    EXPECT_FALSE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::PacketSize(analyzer), 0);
    EXPECT_EQ(TsAnalyzerProbe::WindowFill(analyzer), 0);
    Feed(analyzer, stream, 4096, 4095);
    EXPECT_FALSE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::WindowFill(analyzer), 4095);
    Feed(analyzer, stream, 8191, 1);
    EXPECT_TRUE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::PacketSize(analyzer), 188);
}

// Two trains of sync bytes, 200 and 210 bytes apart, whose cross distances all end in 5.
Bytes TwoTrainWindow(int lastOfFirstTrain) {
    Bytes window(4096, 0xFF);
    for (int at = 0; at <= lastOfFirstTrain; at += 200)
        window[size_t(at)] = 0x47;
    for (int at = 5; at < 4096; at += 210)
        window[size_t(at)] = 0x47;
    return window;
}

TEST(SyncDetection, EqualCountsPickTheSmallerDistance) {
    const Bytes tie = TwoTrainWindow(3800);
    const std::vector<int32_t> counts = ReferencePairCounts(tie.data());
    ASSERT_EQ(counts[200 - 188], 19);
    ASSERT_EQ(counts[210 - 188], 19);
    EXPECT_EQ(TsAnalyzerProbe::Detect(tie.data()), 200);
    EXPECT_EQ(TsAnalyzerProbe::Detect(TwoTrainWindow(3600).data()), 210);
}

TEST(SyncDetection, CountMustReachTheWindowLength) {
    // 188-byte packets: 20 coincidences are needed, (19 + 2) * 188 < 4096.
    Bytes window(4096, 0xFF);
    for (int at = 0; at <= 188 * 19; at += 188)
        window[size_t(at)] = 0x47;
    EXPECT_EQ(TsAnalyzerProbe::Detect(window.data()), 0);
    window[188 * 20] = 0x47;
    EXPECT_EQ(TsAnalyzerProbe::Detect(window.data()), 188);
}

TEST(SyncDetection, SolidSyncBytesConfirmAtZero) {
    const Bytes window(4096, 0x47);
    EXPECT_EQ(ReferencePairCounts(window.data())[0], 3908);
    EXPECT_EQ(TsAnalyzerProbe::Detect(window.data()), 188);
    EXPECT_EQ(TsAnalyzerProbe::Confirm(window.data(), 188), 0);
    CTsAnalyzer analyzer(L"test", NoSamples);
    Feed(analyzer, window, 0, 4096);
    EXPECT_TRUE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), 4096 % 188);
}

TEST(SyncDetection, ConfirmationTakesTheFirstRunEvenAtAnotherPhase) {
    Bytes window = NullStream(188, 100, 4096);
    for (int k = 0; k < 8; ++k)
        window[size_t(3 + 188 * k)] = 0x47;
    EXPECT_EQ(TsAnalyzerProbe::Detect(window.data()), 188);
    EXPECT_EQ(TsAnalyzerProbe::Confirm(window.data(), 188), 3);
    // A run must start before 4096 - 8 * 188 = 2592.
    Bytes late(4096, 0xFF);
    for (int k = 0; k < 8; ++k)
        late[size_t(2592 + 188 * k)] = 0x47;
    EXPECT_EQ(TsAnalyzerProbe::Confirm(late.data(), 188), -1);
    for (int k = 0; k < 8; ++k)
        late[size_t(2591 + 188 * k)] = 0x47;
    EXPECT_EQ(TsAnalyzerProbe::Confirm(late.data(), 188), 2591);
}

TEST(SyncDetection, WindowFillsFromTheLastBytesOfEachChunk) {
    // 1000-byte chunks: the attempt comes with the fifth, over the last 4096 of 5000 bytes.
    const Bytes stream = NullStream(192, 40, 5000);
    CTsAnalyzer analyzer(L"test", NoSamples);
    for (int call = 0; call < 4; ++call) {
        Feed(analyzer, stream, size_t(call) * 1000, 1000);
        EXPECT_EQ(TsAnalyzerProbe::WindowFill(analyzer), (call + 1) * 1000);
    }
    Feed(analyzer, stream, 4000, 1000);
    EXPECT_TRUE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), (5000 - 40) % 192);

    // A 10000-byte chunk contributes only its last 4096 bytes.
    Bytes mixed = NullStream(188, 0, 10000);
    const Bytes tail = NullStream(204, 17, 4096);
    std::copy(tail.begin(), tail.end(), mixed.end() - 4096);
    CTsAnalyzer big(L"test", NoSamples);
    Feed(big, mixed, 0, mixed.size());
    EXPECT_TRUE(TsAnalyzerProbe::Synced(big));
    EXPECT_EQ(TsAnalyzerProbe::PacketSize(big), 204);
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(big), (4096 - 17) % 204);
}

TEST(SyncDetection, EveryAttemptWritesOneDebugLine) {
    std::vector<std::wstring> lines;
    NativeSetDebugSink([](void* context, const WCHAR* text) {
        static_cast<std::vector<std::wstring>*>(context)->push_back(text);
    }, &lines);
    const Bytes noise(3 * 4096 + 100, 0x00);
    CTsAnalyzer analyzer(L"test", NoSamples);
    Feed(analyzer, noise, 0, 4000);
    EXPECT_TRUE(lines.empty());
    Feed(analyzer, noise, 4000, noise.size() - 4000);
    Feed(analyzer, noise, 0, 4096);
    Feed(analyzer, noise, 0, 4096);
    NativeSetDebugSink(nullptr, nullptr);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"CTsAnalyzer::OnGetTsStream(): Syncing\n");
}

}  // namespace
