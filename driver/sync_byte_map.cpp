#include "sync_byte_map.h"

#include <string.h>

namespace {

const uint64_t SyncBytes = 0x4747474747474747ull;
const uint64_t LowSevenBits = 0x7F7F7F7F7F7F7F7Full;

// One bit per byte of an 8-byte group: set where the byte is 0x47.
unsigned SyncBitsOf(const uint8_t* group) {
    uint64_t word;
    memcpy(&word, group, 8);
    const uint64_t x = word ^ SyncBytes;  // zero bytes where the sync bytes are
    // High bit of each byte set exactly where that byte of x is zero (no carries between bytes).
    const uint64_t zero = ~(((x & LowSevenBits) + LowSevenBits) | x | LowSevenBits);
    // Gather the eight high bits, byte k to bit k (little-endian byte order).
    return unsigned(((zero >> 7) * 0x0102040810204080ull) >> 56);
}

// Bits start .. start + 63 of the map.
uint64_t BitsFrom(const uint64_t* bits, int start) {
    const int word = start >> 6;
    const int shift = start & 63;
    if (shift == 0)
        return bits[word];
    return bits[word] >> shift | bits[word + 1] << (64 - shift);
}

int PopCount(uint64_t x) {
#if defined(__GNUC__) && defined(__POPCNT__)
    return __builtin_popcountll(x);
#else
    x = x - (x >> 1 & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + (x >> 2 & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((x * 0x0101010101010101ull) >> 56);
#endif
}

}  // namespace

void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map) {
    for (int word = 0; word < SyncMapWords; ++word) {
        uint64_t bits = 0;
        for (int group = 0; group < 8; ++group)
            bits |= uint64_t(SyncBitsOf(window + word * 64 + group * 8)) << (group * 8);
        map.Bits[word] = bits;
    }
    memset(map.Bits + SyncMapWords, 0, sizeof map.Bits - SyncMapWords * sizeof map.Bits[0]);
}

// For each bit offset within a word, the map is shifted once and then compared, word against
// word, with the map itself at every whole-word distance that gives a counted distance.
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount]) {
    uint64_t shifted[SyncMapWords + 1];
    for (int bit = 0; bit < 64; ++bit) {
        for (int word = 0; word <= SyncMapWords; ++word)
            shifted[word] = BitsFrom(map.Bits, word * 64 + bit);
        for (int distance = MinPairDistance + ((bit - MinPairDistance) & 63);
             distance <= MaxPairDistance; distance += 64) {
            const int wordDistance = distance >> 6;
            int count = 0;
            for (int word = 0; word + wordDistance < SyncMapWords; ++word)
                count += PopCount(map.Bits[word] & shifted[word + wordDistance]);
            counts[distance - MinPairDistance] = count;
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
