#include "sync_byte_map_x86.h"

#include "sync_byte_map.h"

#if defined(QUELLAP_X86_METHODS)
#include <immintrin.h>
// In MSVC mode immintrin.h includes only what the whole build is compiled for; each set is
// taken in here by hand (allowed once immintrin.h is in) for the functions compiled for it.
#if defined(_MSC_VER)
#include <emmintrin.h>
#include <smmintrin.h>
#include <avxintrin.h>
#include <avx2intrin.h>
#include <avx512fintrin.h>
#include <avx512vpopcntdqintrin.h>
#endif

namespace {

// One bit per byte of 32 bytes: set where the byte is 0x47.
__attribute__((target("sse2"))) inline uint32_t SyncBitsOf32(const uint8_t* bytes) {
    const __m128i sync = _mm_set1_epi8(0x47);
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16));
    return uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(low, sync))) |
           uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(high, sync))) << 16;
}

}  // namespace

__attribute__((target("sse2"))) void Sse2SyncBits(const uint8_t* window, uint64_t* bits) {
    for (int word = 0; word < SyncMapWords; ++word)
        bits[word] = uint64_t(SyncBitsOf32(window + word * 64 + 32)) << 32 | SyncBitsOf32(window + word * 64);
}

// On 32-bit x86 the instruction counts 32 bits: two of them per word. Four words a step keep
// the additions from waiting on each other.
__attribute__((target("popcnt"))) int PopcntAndPopCount(const uint64_t* a, const uint64_t* b) {
    int count = 0;
    for (int i = 0; i < SyncMapWords; i += 4)
        count += (__builtin_popcountll(a[i] & b[i]) + __builtin_popcountll(a[i + 1] & b[i + 1])) +
                 (__builtin_popcountll(a[i + 2] & b[i + 2]) + __builtin_popcountll(a[i + 3] & b[i + 3]));
    return count;
}

// Looks up the bit counts of all 64 nibbles of four words at once (vpshufb) and sums the bytes
// at the end: at most 8 per byte and step, 16 steps, so no byte overflows.
__attribute__((target("avx2"))) int Avx2AndPopCount(const uint64_t* a, const uint64_t* b) {
    static_assert(SyncMapWords / 4 * 8 <= 255, "byte sums fit in a byte");
    const __m256i nibbleBits = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                                0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i lowNibble = _mm256_set1_epi8(0x0F);
    __m256i byteSums = _mm256_setzero_si256();
    for (int i = 0; i < SyncMapWords; i += 4) {
        const __m256i both = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i)),
                                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i)));
        const __m256i low = _mm256_shuffle_epi8(nibbleBits, _mm256_and_si256(both, lowNibble));
        const __m256i highNibbles = _mm256_and_si256(_mm256_srli_epi16(both, 4), lowNibble);
        const __m256i high = _mm256_shuffle_epi8(nibbleBits, highNibbles);
        byteSums = _mm256_add_epi8(byteSums, _mm256_add_epi8(low, high));
    }
    const __m256i sums = _mm256_sad_epu8(byteSums, _mm256_setzero_si256());  // four 64-bit sums
    const __m128i pairs =
        _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    return _mm_cvtsi128_si32(_mm_add_epi64(pairs, _mm_unpackhi_epi64(pairs, pairs)));
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
