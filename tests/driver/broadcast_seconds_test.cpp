#include "broadcast_seconds.h"

#include <gtest/gtest.h>

namespace {

FILETIME At(uint64_t ticks) {
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

const uint64_t Epoch1970 = 116444736000000000ULL;
const uint64_t PerSecond = 10000000;

TEST(BroadcastSeconds, CountsFrom1970BothWays) {
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970)), 0);
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 + 946684800 * PerSecond)), 946684800);  // 2000-01-01
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 - PerSecond)), -1);  // 1969-12-31 23:59:59
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 - 315619200 * PerSecond)), -315619200);  // 1960-01-01
}

TEST(BroadcastSeconds, TruncatesTowardZero) {
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 + 19999999)), 1);
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 - 19999999)), -1);
}

TEST(BroadcastSeconds, ExactAtTheEdgesOfThe32BitRangeAndWrapsBeyond) {
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 + 2147483647ULL * PerSecond)), 2147483647);
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 - 2147483648ULL * PerSecond)), INT32_MIN);
    // 2038-01-19 03:14:08 is one second too late and comes out as the earliest time.
    EXPECT_EQ(BroadcastSeconds(At(Epoch1970 + 2147483648ULL * PerSecond)), INT32_MIN);
}

}  // namespace
