#include "sync_byte_map.h"

#include "cpu_features.h"
#include "sync_byte_map_x86.h"

#include <string.h>

namespace {

const uint64_t SyncBytes = 0x4747474747474747ull;
const uint64_t LowSevenBits = 0x7F7F7F7F7F7F7F7Full;

// One bit per byte of an 8-byte group: set where the byte is 0x47.
unsigned SyncBitsOf8(const uint8_t* group) {
    uint64_t word;
    memcpy(&word, group, 8);
    const uint64_t x = word ^ SyncBytes;  // zero bytes where the sync bytes are
    // High bit of each byte set exactly where that byte of x is zero (no carries between bytes).
    const uint64_t zero = ~(((x & LowSevenBits) + LowSevenBits) | x | LowSevenBits);
    // Gather the eight high bits, byte k to bit k (little-endian byte order).
    return unsigned(((zero >> 7) * 0x0102040810204080ull) >> 56);
}

void PortableSyncBits(const uint8_t* window, uint64_t* bits) {
    for (int word = 0; word < SyncMapWords; ++word) {
        uint64_t wordBits = 0;
        for (int group = 0; group < 8; ++group)
            wordBits |= uint64_t(SyncBitsOf8(window + word * 64 + group * 8)) << (group * 8);
        bits[word] = wordBits;
    }
}

// Bits start .. start + 63 of the map.
uint64_t BitsFrom(const uint64_t* bits, int start) {
    const int word = start >> 6;
    const int shift = start & 63;
    if (shift == 0)
        return bits[word];
    return bits[word] >> shift | bits[word + 1] << (64 - shift);
}

int PortableAndPopCount(const uint64_t* a, const uint64_t* b) {
    int count = 0;
    for (int i = 0; i < SyncMapWords; ++i) {
        uint64_t x = a[i] & b[i];
        x = x - (x >> 1 & 0x5555555555555555ull);
        x = (x & 0x3333333333333333ull) + (x >> 2 & 0x3333333333333333ull);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
        count += int((x * 0x0101010101010101ull) >> 56);
    }
    return count;
}

// A method and the CpuFeature bits it needs.
template <typename Method>
struct Candidate {
    unsigned needs;
    Method method;
};

const Candidate<SyncBitsMethod> SyncBitsCandidates[] = {
#if defined(QUELLAP_X86_METHODS)
    {CpuSse2, {"sse2", Sse2SyncBits}},
#endif
    {0, {"portable", PortableSyncBits}},
};

const Candidate<AndPopCountMethod> AndPopCountCandidates[] = {
#if defined(QUELLAP_X86_METHODS)
    {CpuAvx512Popcnt, {"avx512-vpopcntdq", Avx512AndPopCount}},
    {CpuAvx2, {"avx2", Avx2AndPopCount}},
    {CpuPopcnt, {"popcnt", PopcntAndPopCount}},
#endif
    {0, {"portable", PortableAndPopCount}},
};

template <typename Method, int N>
int Available(const Candidate<Method> (&candidates)[N], Method* methods) {
    static_assert(N <= MaxMethods, "room for every method");
    const unsigned features = CpuFeatures();
    int count = 0;
    for (const Candidate<Method>& candidate : candidates)
        if ((candidate.needs & ~features) == 0)
            methods[count++] = candidate.method;
    return count;
}

template <typename Method, int N>
Method Fastest(const Candidate<Method> (&candidates)[N]) {
    Method methods[N];
    Available(candidates, methods);
    return methods[0];  // the portable one needs nothing
}

// rows[r] bit k = bits[k] bit r: afterwards window byte 64k + r is bit k of row r.
void Transpose(const uint64_t* bits, uint64_t* rows) {
    memcpy(rows, bits, SyncMapWords * sizeof rows[0]);
    uint64_t mask = 0x00000000FFFFFFFFull;
    for (int width = 32; width > 0; width >>= 1, mask ^= mask << width) {
        for (int k = 0; k < 64; k = (k + width + 1) & ~width) {
            const uint64_t swap = (rows[k] >> width ^ rows[k + width]) & mask;
            rows[k] ^= swap << width;
            rows[k + width] ^= swap;
        }
    }
}

}  // namespace

int AvailableSyncBits(SyncBitsMethod methods[MaxMethods]) {
    return Available(SyncBitsCandidates, methods);
}

int AvailableAndPopCounts(AndPopCountMethod methods[MaxMethods]) {
    return Available(AndPopCountCandidates, methods);
}

void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map) {
    BuildSyncByteMap(window, map, Fastest(SyncBitsCandidates));
}

void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map, const SyncBitsMethod& method) {
    method.Build(window, map.Bits);
    memset(map.Bits + SyncMapWords, 0, sizeof map.Bits - SyncMapWords * sizeof map.Bits[0]);
}

void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount]) {
    CountSyncPairs(map, counts, Fastest(AndPopCountCandidates));
}

// With the window as 64 rows (row r holds bytes r, 64 + r, 128 + r, ...), a pair at distance
// 64q + s pairs row r with row r + s one column further by q (or, past the last row, row
// r + s - 64 by q + 1): one AND of whole rows per row and distance, no shifts across words.
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount],
                    const AndPopCountMethod& method) {
    uint64_t rows[SyncMapWords];
    Transpose(map.Bits, rows);
    for (int columns = MinPairDistance / 64; columns <= MaxPairDistance / 64; ++columns) {
        uint64_t later[2 * SyncMapWords];  // the rows as seen `columns` and `columns` + 1 further on
        for (int row = 0; row < SyncMapWords; ++row) {
            later[row] = rows[row] >> columns;
            later[SyncMapWords + row] = rows[row] >> (columns + 1);
        }
        for (int step = 0; step < 64; ++step) {
            const int distance = columns * 64 + step;
            if (distance >= MinPairDistance && distance <= MaxPairDistance)
                counts[distance - MinPairDistance] = method.Count(rows, later + step);
        }
    }
}

int FindSyncRun(const SyncByteMap& map, int spacing, int limit) {
    for (int start = 0; start < limit; start += 64) {
        uint64_t run = ~0ull;
        for (int k = 0; k < SyncRunLength && run; ++k)
            run &= BitsFrom(map.Bits, start + k * spacing);
        if (limit - start < 64)
            run &= (1ull << (limit - start)) - 1;
        for (int bit = 0; run; ++bit, run >>= 1)
            if (run & 1)
                return start + bit;
    }
    return -1;
}
