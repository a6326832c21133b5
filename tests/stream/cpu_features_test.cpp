// The processor query against the compiler's own, and the limit that benchmarks use, through to
// the methods offered.
#include "cpu_features.h"
#include "sync_byte_map.h"

#include <gtest/gtest.h>

#include <string>

namespace {

#if defined(QUELLAP_X86_METHODS)
// GCC's run-time query (libgcc) also asks the OS which register state it saves.
TEST(CpuFeatures, AgreeWithTheCompilersQuery) {
    const unsigned features = CpuFeatures();
    EXPECT_EQ((features & CpuSse2) != 0, __builtin_cpu_supports("sse2") != 0);
    EXPECT_EQ((features & CpuPopcnt) != 0, __builtin_cpu_supports("popcnt") != 0);
    EXPECT_EQ((features & CpuAvx2) != 0, __builtin_cpu_supports("avx2") != 0);
    EXPECT_EQ((features & CpuAvx512Popcnt) != 0,
              __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vpopcntdq"));
}
#endif

std::string Names(const AndPopCountMethod* methods, int count) {
    std::string names;
    for (int i = 0; i < count; ++i)
        names += std::string(i ? " " : "") + methods[i].Name;
    return names;
}

// What the benchmarks rely on to time the slower methods on a fast processor.
TEST(CpuFeatures, LimitLeavesOnlyTheMethodsItAllows) {
    const bool popcnt = (CpuFeatures() & CpuPopcnt) != 0;
    LimitCpuFeatures(CpuPopcnt);
    AndPopCountMethod counters[MaxMethods];
    SyncBitsMethod builds[MaxMethods];
    const int counterCount = AvailableAndPopCounts(counters);
    const int buildCount = AvailableSyncBits(builds);
    LimitCpuFeatures(~0u);
    EXPECT_EQ(Names(counters, counterCount), popcnt ? "popcnt portable" : "portable");
    ASSERT_EQ(buildCount, 1);
    EXPECT_STREQ(builds[0].Name, "portable");
}

}  // namespace
