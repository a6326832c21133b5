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

void BuildSyncByteMap(const uint8_t* window, SyncByteMap& map);

// Number of bits set in a[i] & b[i] over SyncMapWords words.
typedef int (*AndPopCountMethod)(const uint64_t* a, const uint64_t* b);
// The methods this processor can run, fastest first; returns how many (at least 1, at most 3).
int AvailableAndPopCounts(AndPopCountMethod methods[3]);

// counts[d - MinPairDistance] = number of positions i with sync bytes at i and at i + d,
// i + d < SyncMapBytes, for every distance d from MinPairDistance to MaxPairDistance.
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount]);
void CountSyncPairs(const SyncByteMap& map, int32_t counts[PairDistanceCount], AndPopCountMethod method);

// The smallest i < limit with sync bytes at i, i + spacing, ..., i + 7 * spacing, or -1.
// Needs limit + 7 * spacing <= SyncMapBytes.
int FindSyncRun(const SyncByteMap& map, int spacing, int limit);
