#include "bench_stream_setup.h"

#include "cpu_features.h"
#include "sync_byte_map.h"

#include <string.h>

namespace {

size_t Gcd(size_t a, size_t b) {
    return b ? Gcd(b, a % b) : a;
}

}  // namespace

size_t CyclicStreamLength(int packetSize, size_t chunk) {
    const size_t cycle = chunk / Gcd(chunk, size_t(packetSize)) * size_t(packetSize);
    return (65536 + cycle - 1) / cycle * cycle;
}

void FillCyclicStream(uint8_t* stream, size_t length, int packetSize) {
    memset(stream, 0xFF, length);
    for (size_t at = 0, index = 0; at < length; at += size_t(packetSize), ++index) {
        const bool tdt = index % 4096 == 0;
        const uint8_t header[13] = {0x47, uint8_t(tdt ? 0x40 : 0x1F), uint8_t(tdt ? 0x14 : 0xFF), 0x10, 0x00,
                                    0x70, 0x70, 0x05, 0xD4, 0x9B, 0x13, 0x25, 0x14};
        memcpy(stream + at, header, tdt ? 13 : 4);
    }
}

void FillDenseNoise(uint8_t* bytes, size_t length) {
    uint32_t state = 2463534242u;  // xorshift32: one pseudo-random bit per byte
    for (size_t i = 0; i < length; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = state & 1 ? 0x47 : 0x00;
    }
}

ChunkRound StartSynchronised(CTsAnalyzer& analyzer, const uint8_t* stream, size_t length, size_t chunk) {
    analyzer.OnGetTsStream(stream, 4096);
    const size_t aligned = (4096 + chunk - 1) / chunk * chunk;  // a chunk boundary
    analyzer.OnGetTsStream(stream + 4096, DWORD(aligned - 4096));
    const ChunkRound round = {stream, length, chunk, aligned % length};
    return round;
}

int MethodSets(MethodSet sets[MaxMethodSets]) {
    // Each hides one more feature, so that a repeated set follows its first appearance.
    const unsigned limits[MaxMethodSets] = {~0u, CpuSse2 | CpuPopcnt | CpuAvx2, CpuSse2 | CpuPopcnt, CpuSse2, 0};
    int count = 0;
    for (unsigned limit : limits) {
        LimitCpuFeatures(limit);
        AndPopCountMethod counters[MaxMethods];
        SyncBitsMethod builds[MaxMethods];
        AvailableAndPopCounts(counters);
        AvailableSyncBits(builds);
        const MethodSet set = {limit, counters[0].Name, builds[0].Name};
        if (count == 0 || strcmp(set.pairCounts, sets[count - 1].pairCounts) != 0 ||
            strcmp(set.syncBits, sets[count - 1].syncBits) != 0)
            sets[count++] = set;
    }
    LimitCpuFeatures(~0u);
    return count;
}
