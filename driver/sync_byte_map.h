// The sync-byte positions of the 4096-byte detection window as a bit map, and the two questions
// that packet-size detection asks about them, answered a machine word at a time. The byte-wise
// rules they must match: every ordered pair of sync bytes 188 to 319 apart that lies wholly
// inside the window counts once at its distance; a run is eight sync bytes evenly spaced.
#pragma once

#include <stdint.h>

enum : int {
    SyncMapBytes = 4096,
    SyncMapWords = SyncMapBytes / 64,
    MinPairDistance = 188,
    MaxPairDistance = 319,
    PairDistanceCount = MaxPairDistance - MinPairDistance + 1,
    SyncRunLength = 8,
};

struct SyncByteMap {
    // Bit i % 64 of word i / 64 is set when byte i of the window is 0x47. The zero words after
    // the window let shifted reads run past its end.
    uint64_t Bits[SyncMapWords + 8];
};

// Two steps below come in several methods, for the instruction sets that the processor may
// have; the lists of them run from the fastest to the portable one.
enum : int { MaxMethods = 4 };

// Sets bits[0 .. SyncMapWords - 1] as SyncByteMap::Bits from the window.
struct SyncBitsMethod {
    const char* Name;
    void (*Build)(const uint8_t* window, uint64_t* bits);
};
// Number of bits set in a[i] & b[i] over SyncMapWords words.
struct AndPopCountMethod {
    const char* Name;
    int (*Count)(const uint64_t* a, const uint64_t* b);
};
// The methods that this processor can run (see CpuFeatures()); return how many.
int AvailableSyncBits(SyncBitsMethod methods[MaxMethods]);
int AvailableAndPopCounts(AndPopCountMethod methods[MaxMethods]);

// Without a method: the fastest available.
void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map);
void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map, const SyncBitsMethod& method);

// counts[d - MinPairDistance] = number of positions i with sync bytes at i and at i + d,
// i + d < SyncMapBytes, for every distance d from MinPairDistance to MaxPairDistance.
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount]);
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount],
                    const AndPopCountMethod& method);

// The smallest i < limit with sync bytes at i, i + spacing, ..., i + 7 * spacing, or -1.
// Needs limit + 7 * spacing <= SyncMapBytes.
int FindSyncRun(const SyncByteMap& map, int spacing, int limit);
