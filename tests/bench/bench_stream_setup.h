// What the native benchmark (Google Benchmark) and the Windows timing program share: the
// streams they feed, the round through them chunk by chunk, how an analyser is brought into
// sync, and the sets of detection methods to time. No C++ library here: the MSVC-ABI tree has
// none.
#pragma once

#include "ignored_samples.h"

#include <stddef.h>
#include <stdint.h>

const size_t LargeChunk = 48128;  // 256 packets of 188 bytes
const size_t DenseNoiseLength = size_t(1) << 20;

// Length of a stream of `packetSize`-byte packets that is a whole number of chunks and of
// packets (and at least 64 KiB), so that it can be fed round and round.
size_t CyclicStreamLength(int packetSize, size_t chunk);
// Mostly null packets with one TDT in 4096 (about one a second at 20 Mbit/s).
void FillCyclicStream(uint8_t* stream, size_t length, int packetSize);
// Half the bytes 0x47 at pseudo-random places, the others 0x00: a window with no period in
// which every distance is counted thousands of times.
void FillDenseNoise(uint8_t* bytes, size_t length);

// Chunks taken round a buffer; a chunk that would run past its end starts it again.
struct ChunkRound {
    const uint8_t* data;
    size_t length;
    size_t chunk;
    size_t at;

    const uint8_t* Next() {
        const uint8_t* const next = data + at;
        at += chunk;
        if (at + chunk > length)
            at = 0;
        return next;
    }
};

// Feeds the start of a cyclic stream until the analyser is in sync at a chunk boundary;
// the round continues from there.
ChunkRound StartSynchronised(CTsAnalyzer& analyzer, const uint8_t* stream, size_t length, size_t chunk);

// The fastest detection methods under a CpuFeatures limit.
struct MethodSet {
    unsigned limit;
    const char* pairCounts;
    const char* syncBits;
};
const int MaxMethodSets = 5;

// The method sets that this processor can run, the chosen one first, then with one faster
// feature hidden at a time, down to the portable methods alone.
int MethodSets(MethodSet sets[MaxMethodSets]);
