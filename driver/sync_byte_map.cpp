#include "sync_byte_map.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// 64-bit Linux builds pick the population count instructions at run time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#define QUELLAP_X86_64_POPCOUNT 1
#include <immintrin.h>
#endif

namespace {

#if defined(__SSE2__)
uint64_t SyncBitsOf64(const uint8_t* bytes) {
    const __m128i sync = _mm_set1_epi8(0x47);
    uint64_t bits = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + part * 16));
        bits |= uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, sync)))) << (part * 16);
    }
    return bits;
}
#else
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

uint64_t SyncBitsOf64(const uint8_t* bytes) {
    uint64_t bits = 0;
    for (int group = 0; group < 8; ++group)
        bits |= uint64_t(SyncBitsOf8(bytes + group * 8)) << (group * 8);
    return bits;
}
#endif

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

#if defined(QUELLAP_X86_64_POPCOUNT)
__attribute__((target("popcnt"))) int PopcntAndPopCount(const uint64_t* a, const uint64_t* b) {
    int count = 0;
    for (int i = 0; i < SyncMapWords; ++i)
        count += __builtin_popcountll(a[i] & b[i]);
    return count;
}

__attribute__((target("avx512f,avx512vpopcntdq"))) int Avx512AndPopCount(const uint64_t* a, const uint64_t* b) {
    __m512i sum = _mm512_setzero_si512();
    for (int i = 0; i < SyncMapWords; i += 8) {
        const __m512i both = _mm512_and_si512(_mm512_loadu_si512(a + i), _mm512_loadu_si512(b + i));
        sum = _mm512_add_epi64(sum, _mm512_popcnt_epi64(both));
    }
    return int(_mm512_reduce_add_epi64(sum));
}
#endif

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

void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map) {
    for (int word = 0; word < SyncMapWords; ++word)
        map.Bits[word] = SyncBitsOf64(window + word * 64);
    memset(map.Bits + SyncMapWords, 0, sizeof map.Bits - SyncMapWords * sizeof map.Bits[0]);
}

int AvailableAndPopCounts(AndPopCountMethod methods[3]) {
    int count = 0;
#if defined(QUELLAP_X86_64_POPCOUNT)
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vpopcntdq"))
        methods[count++] = Avx512AndPopCount;
    if (__builtin_cpu_supports("popcnt"))
        methods[count++] = PopcntAndPopCount;
#endif
    methods[count++] = PortableAndPopCount;
    return count;
}

void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount]) {
    AndPopCountMethod methods[3];
    AvailableAndPopCounts(methods);
    CountSyncPairs(map, counts, methods[0]);
}

// With the window as 64 rows (row r holds bytes r, 64 + r, 128 + r, ...), a pair at distance
// 64q + s pairs row r with row r + s one column further by q (or, past the last row, row
// r + s - 64 by q + 1): one AND of whole rows per row and distance, no shifts across words.
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount], AndPopCountMethod method) {
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
                counts[distance - MinPairDistance] = method(rows, later + step);
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
