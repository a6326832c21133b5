#include "cpu_features.h"

#include <stdint.h>

#if defined(QUELLAP_X86_METHODS)
#include <cpuid.h>
#endif

namespace {

#if defined(QUELLAP_X86_METHODS)
// XCR0 bits of the register state the OS saves on a thread switch: SSE and AVX; for AVX-512
// also the mask registers and the upper halves of all 32 vector registers. Without them the
// instructions fault even where the processor has them (some OSes and virtual machines).
const uint64_t AvxState = 0x06;
const uint64_t Avx512State = 0xE6;

uint64_t SavedRegisterState() {
    uint32_t low = 0;
    uint32_t high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return uint64_t(high) << 32 | low;
}

unsigned AskProcessor() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return 0;  // no cpuid at all: a processor older than any method but the portable ones
    unsigned features = 0;
    if (d & bit_SSE2)
        features |= CpuSse2;
    if (c & bit_POPCNT)
        features |= CpuPopcnt;
    // XGETBV exists only where the OS has enabled it (OSXSAVE).
    if (!(c & bit_OSXSAVE) || !(c & bit_AVX))
        return features;
    const uint64_t state = SavedRegisterState();
    if ((state & AvxState) != AvxState || !__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return features;
    if (b & bit_AVX2)
        features |= CpuAvx2;
    if ((b & bit_AVX512F) && (c & bit_AVX512VPOPCNTDQ) && (state & Avx512State) == Avx512State)
        features |= CpuAvx512Popcnt;
    return features;
}
#else
unsigned AskProcessor() {
    return 0;
}
#endif

const unsigned NotAsked = ~0u;
// Relaxed atomics: threads that race to ask first store the same answer.
unsigned Asked = NotAsked;
unsigned Allowed = ~0u;

}  // namespace

unsigned CpuFeatures() {
    unsigned features = __atomic_load_n(&Asked, __ATOMIC_RELAXED);
    if (features == NotAsked) {
        features = AskProcessor();
        __atomic_store_n(&Asked, features, __ATOMIC_RELAXED);
    }
    return features & __atomic_load_n(&Allowed, __ATOMIC_RELAXED);
}

void LimitCpuFeatures(unsigned allowed) {
    __atomic_store_n(&Allowed, allowed, __ATOMIC_RELAXED);
}
