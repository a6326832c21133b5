// The sync-byte map's methods for x86 instruction sets beyond the build's baseline. Each is
// compiled for its own instruction set, and called only where CpuFeatures() has it.
#pragma once

#include "cpu_features.h"

#include <stdint.h>

#if defined(QUELLAP_X86_METHODS)
void Sse2SyncBits(const uint8_t* window, uint64_t* bits);

int PopcntAndPopCount(const uint64_t* a, const uint64_t* b);
int Avx2AndPopCount(const uint64_t* a, const uint64_t* b);
int Avx512AndPopCount(const uint64_t* a, const uint64_t* b);
#endif
