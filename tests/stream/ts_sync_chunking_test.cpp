// Whatever the chunking, the analyser hands ProcessPacket exactly the packets that the
// byte-wise statement of the rules selects, in stream order.
#include "analyzer_probe.h"
#include "framing_reference.h"
#include "test_packets.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Offsets of the packets examined when `stream` (indexed packets of `size` bytes after
// `prefix` bytes) is fed in the given chunks.
std::vector<int64_t> ExaminedOffsets(const Bytes& stream, const std::vector<size_t>& chunks, int size,
                                     int prefix) {
    SampleRecorder recorder;
    CTsAnalyzer analyzer(L"test", recorder);
    size_t at = 0;
    for (size_t chunk : chunks) {
        analyzer.OnGetTsStream(stream.data() + at, DWORD(chunk));
        at += chunk;
        EXPECT_GE(TsAnalyzerProbe::PacketFill(analyzer), 0);
        if (TsAnalyzerProbe::Synced(analyzer))
            EXPECT_LE(TsAnalyzerProbe::PacketFill(analyzer), TsAnalyzerProbe::PacketSize(analyzer));
    }
    std::vector<int64_t> offsets;
    for (const TotSample& sample : recorder.samples) {
        const uint64_t fileTime = uint64_t(sample.BroadcastFileTime.dwHighDateTime) << 32 |
                                  sample.BroadcastFileTime.dwLowDateTime;
        offsets.push_back(prefix + int64_t(IndexOfFileTime(fileTime)) * size);
    }
    return offsets;
}

// The offsets among `offsets` that hold time-table packets when only every `timeEvery`-th
// packet does.
std::vector<int64_t> TimePackets(const std::vector<int64_t>& offsets, int size, int prefix, int timeEvery) {
    std::vector<int64_t> kept;
    for (int64_t offset : offsets)
        if ((offset - prefix) / size % timeEvery == 0)
            kept.push_back(offset);
    return kept;
}

// Replaces a few sync bytes with other values.
void DamageSyncBytes(Bytes& stream, int size, int prefix, std::mt19937& random) {
    std::uniform_int_distribution<size_t> packet(0, (stream.size() - size_t(prefix)) / size_t(size) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 6; ++i) {
        const int value = byte(random);
        stream[size_t(prefix) + packet(random) * size_t(size)] = uint8_t(value == 0x47 ? 0x07 : value);
    }
}

TEST(SyncChunking, MatchesTheRulesForEverySizeAndChunking) {
    std::mt19937 random(7);
    for (int size = 188; size <= 319; ++size) {
        const int prefix = std::uniform_int_distribution<int>(0, size - 1)(random);
        // Sparse time-table packets let whole groups of packets pass unexamined.
        const int timeEvery = size % 3 == 0 ? 1 : 9;
        Bytes stream = IndexedStream(size, prefix, 200, random, timeEvery);
        DamageSyncBytes(stream, size, prefix, random);
        std::vector<std::vector<size_t>> chunkings = {{stream.size()}, std::vector<size_t>(stream.size(), 1)};
        for (int round = 0; round < 3; ++round)
            chunkings.push_back(RandomChunks(stream.size(), random));
        for (const std::vector<size_t>& chunks : chunkings) {
            const std::vector<int64_t> expected =
                TimePackets(ReferenceExaminedPackets(stream, chunks), size, prefix, timeEvery);
            ASSERT_EQ(ExaminedOffsets(stream, chunks, size, prefix), expected)
                << "size " << size << ", " << chunks.size() << " chunks";
        }
    }
}

TEST(SyncChunking, RandomChunkingsExamineManyPackets) {
    // Guards the comparison above against agreeing on nothing.
    std::mt19937 random(8);
    const Bytes stream = IndexedStream(204, 50, 300, random);
    const std::vector<int64_t> examined = ReferenceExaminedPackets(stream, RandomChunks(stream.size(), random));
    EXPECT_GT(examined.size(), 150u);
}

TEST(SyncChunking, CleanStreamGivesTheSamePacketsForAnyChunkingAfterTheFirstWindow) {
    std::mt19937 random(9);
    for (int size = 188; size <= 319; ++size) {
        const int prefix = std::uniform_int_distribution<int>(0, size - 1)(random);
        const int timeEvery = size % 2 ? 1 : 5;
        const Bytes stream = IndexedStream(size, prefix, 120, random, timeEvery);
        std::vector<int64_t> examined;  // from the packet cut by the window's end to the last but one
        for (int64_t start = prefix; start + size < int64_t(stream.size()); start += size)
            if (start > 4096 - size)
                examined.push_back(start);
        const std::vector<int64_t> expected = TimePackets(examined, size, prefix, timeEvery);
        for (int round = 0; round < 4; ++round) {
            std::vector<size_t> chunks;
            for (size_t used = 0; used < 4096;) {
                chunks.push_back(std::min<size_t>(4096 - used, std::uniform_int_distribution<size_t>(0, 1500)(random)));
                used += chunks.back();
            }
            const std::vector<size_t> rest = RandomChunks(stream.size() - 4096, random);
            chunks.insert(chunks.end(), rest.begin(), rest.end());
            ASSERT_EQ(ExaminedOffsets(stream, chunks, size, prefix), expected) << "size " << size;
        }
    }
}

}  // namespace
