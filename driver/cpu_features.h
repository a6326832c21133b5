// The processor features that the stream core's faster methods need, asked of the processor at
// run time, so that one build runs on any x86 processor and still uses what the running one has.
#pragma once

// The x86 builds of every compiler used here (g++, clang, clang-cl with GNU extensions) can
// query the processor and compile single functions for newer instruction sets.
#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
#define QUELLAP_X86_METHODS 1
#endif

enum CpuFeature : unsigned {
    CpuSse2 = 1u << 0,
    CpuPopcnt = 1u << 1,
    CpuAvx2 = 1u << 2,           // with the AVX register state saved by the OS
    CpuAvx512Popcnt = 1u << 3,   // AVX-512 F and VPOPCNTDQ, with the AVX-512 state saved by the OS
};

// The features of this processor (none on other processors), less those hidden by
// LimitCpuFeatures. The processor is asked once.
unsigned CpuFeatures();

// Hides every feature outside `allowed` from later CpuFeatures() calls, so that a benchmark can
// time the slower methods on a fast processor; ~0u hides nothing.
void LimitCpuFeatures(unsigned allowed);
