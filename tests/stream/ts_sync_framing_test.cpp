// Following packet boundaries once synchronised: which packets reach ProcessPacket, what is
// carried between chunks, and how synchronisation ends.
#include "analyzer_probe.h"
#include "test_packets.h"

#include <gtest/gtest.h>

namespace {

// Indexed packets of `size` bytes after a prefix of `prefix` bytes that keeps the first
// window's end on a packet boundary or inside a packet as the test needs.
class SyncedStream : public ::testing::Test {
protected:
    void Build(int size, int prefix, int count) {
        stream = Bytes(size_t(prefix), 0xFF);
        for (int index = 0; index < count; ++index) {
            const Bytes packet = IndexedPacket(size, index);
            stream.insert(stream.end(), packet.begin(), packet.end());
        }
        packetSize = size;
        firstPacket = prefix;
    }

    void Feed(size_t from, size_t count) { analyzer.OnGetTsStream(stream.data() + from, DWORD(count)); }

    // Indices of the packets examined so far.
    std::vector<int> Examined() const {
        std::vector<int> indices;
        for (const TotSample& sample : recorder.samples)
            indices.push_back(IndexOfFileTime(uint64_t(sample.BroadcastFileTime.dwHighDateTime) << 32 |
                                              sample.BroadcastFileTime.dwLowDateTime));
        return indices;
    }

    int IndexAt(size_t offset) const { return int((offset - size_t(firstPacket)) / size_t(packetSize)); }

    SampleRecorder recorder;
    CTsAnalyzer analyzer{L"test", recorder};
    Bytes stream;
    int packetSize = 0;
    int firstPacket = 0;
};

TEST_F(SyncedStream, PacketsInsideTheFirstWindowAreNotExamined) {
    Build(188, 30, 40);
    Feed(0, 4096);
    ASSERT_TRUE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_TRUE(Examined().empty());
    const int cut = IndexAt(4095);
    // The cut packet needs its missing bytes and the next sync byte.
    const size_t completes = size_t(firstPacket + (cut + 1) * 188) + 1;
    Feed(4096, completes - 4096 - 1);
    EXPECT_TRUE(Examined().empty());
    Feed(completes - 1, 1);
    EXPECT_EQ(Examined(), std::vector<int>({cut}));
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), 1);
}

TEST_F(SyncedStream, WindowEndingOnAPacketBoundaryNeedsSyncByteNext) {
    Build(188, 4096 % 188, 30);
    Feed(0, 4096);
    ASSERT_TRUE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), 0);
    Feed(4096, 189);  // exactly one packet and the next sync byte
    EXPECT_EQ(Examined(), std::vector<int>({IndexAt(4096)}));
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), 1);
    EXPECT_EQ(TsAnalyzerProbe::PacketBuffer(analyzer)[0], 0x47);
}

TEST_F(SyncedStream, ChunkEndingOnAPacketBoundaryHoldsTheLastPacket) {
    Build(204, 4096 % 204, 40);
    Feed(0, 4096);
    Feed(4096, 204 * 5);
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), 204);
    ASSERT_EQ(Examined().size(), 4u);
    EXPECT_EQ(Examined().back(), IndexAt(4096) + 3);
    Feed(4096 + 204 * 5, 1);
    EXPECT_EQ(Examined().size(), 5u);
    EXPECT_EQ(Examined().back(), IndexAt(4096) + 4);
}

TEST_F(SyncedStream, EmptyChunksChangeNothing) {
    Build(192, 5, 40);
    CTsAnalyzer fresh(L"test", NoSamples);
    fresh.OnGetTsStream(nullptr, 0);
    EXPECT_EQ(TsAnalyzerProbe::WindowFill(fresh), 0);
    Feed(0, 4096);
    Feed(4096, 100);
    const int32_t fill = TsAnalyzerProbe::PacketFill(analyzer);
    analyzer.OnGetTsStream(nullptr, 0);
    EXPECT_TRUE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), fill);
}

TEST_F(SyncedStream, WrongSyncByteMidChunkEndsSyncAfterTheEarlierPackets) {
    Build(188, 0, 60);
    const int damaged = 35;
    stream[size_t(damaged * 188)] = 0x48;
    Feed(0, 4096);
    Feed(4096, stream.size() - 4096);
    EXPECT_FALSE(TsAnalyzerProbe::Synced(analyzer));
    std::vector<int> expected;
    for (int index = IndexAt(4095); index < damaged - 1; ++index)
        expected.push_back(index);
    EXPECT_EQ(Examined(), expected);  // neither the damaged packet nor the one before it
    // The rest of that chunk never entered the window.
    EXPECT_EQ(TsAnalyzerProbe::WindowFill(analyzer), 0);
    Feed(0, 100);
    EXPECT_EQ(TsAnalyzerProbe::WindowFill(analyzer), 100);
}

TEST_F(SyncedStream, WrongSyncByteInTheCarriedPacketEndsSync) {
    Build(188, 0, 40);
    const int cut = IndexAt(4095);
    stream[size_t((cut + 1) * 188)] = 0x00;
    Feed(0, 4096);
    Feed(4096, 500);
    EXPECT_FALSE(TsAnalyzerProbe::Synced(analyzer));
    EXPECT_TRUE(Examined().empty());
    EXPECT_EQ(TsAnalyzerProbe::PacketSize(analyzer), 188);  // kept on loss of sync
}

TEST_F(SyncedStream, LastPacketOfTheStreamIsNeverExamined) {
    Build(188, 0, 30);
    Feed(0, 4096);
    Feed(4096, stream.size() - 4096);
    ASSERT_FALSE(Examined().empty());
    EXPECT_EQ(Examined().back(), 28);
    EXPECT_EQ(TsAnalyzerProbe::PacketFill(analyzer), 188);
}

}  // namespace
