// The word-wise pair counts and run search against the byte-wise rules, over windows from
// empty to solid sync bytes, with every method that this processor can run.
#include "sync_byte_map.h"

#include "analyzer_probe.h"
#include "framing_reference.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> RandomWindow(double syncShare, std::mt19937& random) {
    std::bernoulli_distribution isSync(syncShare);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> window(4096);
    for (uint8_t& value : window) {
        const int other = byte(random);  // 0xC7 and 0x46 differ from 0x47 in a single bit
        value = isSync(random) ? 0x47 : uint8_t(other == 0x47 ? 0xC7 : other);
    }
    return window;
}

// A window with sync bytes at the given period and phase, some dropped, plus noise.
std::vector<uint8_t> PeriodicWindow(int period, int phase, double dropShare, double noiseShare,
                                    std::mt19937& random) {
    std::vector<uint8_t> window = RandomWindow(noiseShare, random);
    std::bernoulli_distribution dropped(dropShare);
    for (int i = phase; i < 4096; i += period)
        window[size_t(i)] = dropped(random) ? 0x00 : 0x47;
    return window;
}

void ExpectSameAsReference(const std::vector<uint8_t>& window) {
    const std::vector<int32_t> expected = ReferencePairCounts(window.data());
    SyncBitsMethod builds[MaxMethods];
    AndPopCountMethod counters[MaxMethods];
    const int buildCount = AvailableSyncBits(builds);
    const int counterCount = AvailableAndPopCounts(counters);
    for (int build = 0; build < buildCount; ++build) {
        SyncByteMap map;
        BuildSyncByteMap(window.data(), map, builds[build]);
        for (int counter = 0; counter < counterCount; ++counter) {
            int32_t counts[PairDistanceCount];
            CountSyncPairs(map, counts, counters[counter]);
            EXPECT_EQ(std::vector<int32_t>(counts, counts + PairDistanceCount), expected)
                << "sync bits " << builds[build].Name << ", pair counts " << counters[counter].Name;
        }
    }
    const int size = ReferenceDetect(window.data());
    EXPECT_EQ(TsAnalyzerProbe::Detect(window.data()), size);
    for (int spacing = 188; spacing <= 320; ++spacing)
        ASSERT_EQ(TsAnalyzerProbe::Confirm(window.data(), spacing), ReferenceConfirm(window.data(), spacing))
            << "spacing " << spacing;
}

TEST(SyncByteMap, MatchesByteWiseRulesOnRandomWindows) {
    std::mt19937 random(1);
    for (double share : {0.0, 0.004, 0.05, 0.3, 0.5, 0.7, 0.9, 0.99, 1.0})
        for (int round = 0; round < 4; ++round)
            ExpectSameAsReference(RandomWindow(share, random));
}

TEST(SyncByteMap, MatchesByteWiseRulesOnPeriodicWindows) {
    std::mt19937 random(2);
    for (int period = 180; period <= 330; period += 3) {
        const int phase = std::uniform_int_distribution<int>(0, period - 1)(random);
        ExpectSameAsReference(PeriodicWindow(period, phase, 0.1, 0.002, random));
    }
}

TEST(SyncByteMap, FlagsEveryPositionOfEveryWord) {
    SyncBitsMethod builds[MaxMethods];
    const int buildCount = AvailableSyncBits(builds);
    for (int position = 0; position < 4096; position += 61) {
        std::vector<uint8_t> window(4096, 0x46);
        window[size_t(position)] = 0x47;
        for (int build = 0; build < buildCount; ++build) {
            SyncByteMap map;
            BuildSyncByteMap(window.data(), map, builds[build]);
            for (int word = 0; word < SyncMapWords + 8; ++word)
                EXPECT_EQ(map.Bits[word], word == position / 64 ? 1ull << (position % 64) : 0ull)
                    << builds[build].Name;
        }
    }
}

}  // namespace
