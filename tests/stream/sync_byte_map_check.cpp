// The sync-byte map's methods as a Windows tree compiles them (in the MSVC-ABI tree, the
// wrapper's own objects): each one this processor can run against the portable one, on
// pseudo-random windows from no sync bytes to nothing else. The portable methods are checked
// against the byte-wise rules natively (sync_byte_map_test.cpp).
#include "check.h"
#include "sync_byte_map.h"

#include <string.h>

namespace {

uint8_t Window[SyncMapBytes];

// Each byte is 0x47 with probability sixteenths / 16, else 0x47 with one bit flipped.
void FillWindow(int sixteenths, uint32_t& state) {
    for (uint8_t& byte : Window) {
        state ^= state << 13;  // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        byte = int(state & 15) < sixteenths ? 0x47 : uint8_t(0x47 ^ 1 << (state >> 8 & 7));
    }
}

void CheckSame(bool same, const char* kind, const char* name, int sixteenths) {
    if (!same)
        Print("%s %s differs from the portable method (sync bytes %d/16)\n", kind, name, sixteenths);
    CHECK(same);
}

}  // namespace

int main() {
    SyncBitsMethod builds[MaxMethods];
    AndPopCountMethod counters[MaxMethods];
    const int buildCount = AvailableSyncBits(builds);
    const int counterCount = AvailableAndPopCounts(counters);
    Print("fastest here: sync bits %s, pair counts %s\n", builds[0].Name, counters[0].Name);
    uint32_t state = 1;
    for (int sixteenths = 0; sixteenths <= 16; ++sixteenths) {
        FillWindow(sixteenths, state);
        SyncByteMap portable;
        BuildSyncByteMap(Window, portable, builds[buildCount - 1]);
        int32_t expected[PairDistanceCount];
        CountSyncPairs(portable, expected, counters[counterCount - 1]);
        for (int build = 0; build < buildCount - 1; ++build) {
            SyncByteMap map;
            BuildSyncByteMap(Window, map, builds[build]);
            CheckSame(memcmp(map.Bits, portable.Bits, sizeof map.Bits) == 0, "sync bits", builds[build].Name,
                      sixteenths);
        }
        for (int counter = 0; counter < counterCount - 1; ++counter) {
            int32_t counts[PairDistanceCount];
            CountSyncPairs(portable, counts, counters[counter]);
            CheckSame(memcmp(counts, expected, sizeof counts) == 0, "pair counts", counters[counter].Name,
                      sixteenths);
        }
    }
    return CheckSummary("sync_byte_map_check");
}
