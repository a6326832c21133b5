// The file driver's pacing: the schedule built from a file's time tables, and the order and due
// ticks of the chunks that the driver hands out.
#include "chunk_pacer.h"
#include "schedule_scan.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<BYTE> ReadSample() {
    std::ifstream file(QUELLAP_DATA_DIR "/sample.ts", std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), {});
}

// data/sample.ts: three 12-second stretches at 40 packets a second (188, 192 and 204 bytes),
// 2007, 2024 and 2038, each second opened by a TDT; `tstime sample.ts` lists the offsets below.
TEST(PlaySchedule, SampleStreamPlaysAtItsBroadcastPace) {
    const std::vector<BYTE> sample = ReadSample();
    ASSERT_EQ(sample.size(), 280508u);
    PlaySchedule schedule;
    {
        ScheduleScan scan(schedule);
        for (size_t at = 0; at < sample.size(); at += 48128)
            scan.Feed(sample.data() + at, std::min<size_t>(48128, sample.size() - at));
        ASSERT_TRUE(scan.Succeeded());
    }
    schedule.Finish(sample.size(), 1000);

    // Before the first TDT (13:25:06 at 7520) the first second's rate, 7520 bytes/s.
    EXPECT_EQ(schedule.DueMs(0), 0u);
    EXPECT_EQ(schedule.DueMs(3760), 500u);
    EXPECT_EQ(schedule.DueMs(7520), 1000u);
    // The captured TOT makes 13:25:14 188 bytes longer; its time repeats the TDT's and is skipped.
    EXPECT_EQ(schedule.DueMs(67680), 9000u);
    EXPECT_EQ(schedule.DueMs(75388), 10000u);
    EXPECT_EQ(schedule.DueMs(82908), 11000u);  // 13:25:16, the stretch's last TDT
    // The jump to 2024 (15204 bytes to the TDT at 98112) at the last second's 7520 bytes/s.
    const double jump1 = 11000 + 15204 / 7.52;
    EXPECT_NEAR(schedule.DueMs(98112), jump1, 1);
    // The TOT of 23:59:55 at 101952 repeats the TDT's second and does not split it.
    EXPECT_NEAR(schedule.DueMs(105792), jump1 + 1000, 1);
    EXPECT_NEAR(schedule.DueMs(174912), jump1 + 10000, 1);
    // The jump to 2038 (11756 bytes) at 7680 bytes/s; then 11 s up to the last TDT at 272348,
    // and the file's last 8160 bytes at that stretch's 8160 bytes/s.
    const double jump2 = jump1 + 10000 + 11756 / 7.68;
    EXPECT_NEAR(schedule.DueMs(186668), jump2, 1);
    EXPECT_NEAR(schedule.DueMs(272348), jump2 + 11000, 1);
    EXPECT_NEAR(schedule.PassMs(), jump2 + 12000, 1);
}

TEST(PlaySchedule, JumpsBorrowTheNeighbouringRate) {
    const int64_t t = 1000000000000;  // any broadcast time, ms
    PlaySchedule schedule;
    schedule.AddTimePoint(1000, t);
    schedule.AddTimePoint(2000, t + PlaySchedule::MaxStepMs + 1);  // too far ahead
    schedule.AddTimePoint(2500, t + PlaySchedule::MaxStepMs + 1001);  // 0.5 bytes/ms
    schedule.AddTimePoint(3500, t + PlaySchedule::MaxStepMs + 2001);  // 1 byte/ms
    schedule.AddTimePoint(4000, t);  // backwards
    schedule.AddTimePoint(4500, t + PlaySchedule::MaxStepMs);  // exactly the longest step
    schedule.Finish(5000, 1000);
    // Before the first point and across the leading jump: the first usable rate, after it.
    EXPECT_EQ(schedule.DueMs(1000), 2000u);
    EXPECT_EQ(schedule.DueMs(1500), 3000u);
    EXPECT_EQ(schedule.DueMs(2000), 4000u);
    EXPECT_EQ(schedule.DueMs(2500), 5000u);
    EXPECT_EQ(schedule.DueMs(3500), 6000u);
    // Across the backward jump: the rate before it.
    EXPECT_EQ(schedule.DueMs(4000), 6500u);
    // A step of exactly MaxStepMs is a segment of its own; after it its rate goes on.
    EXPECT_EQ(schedule.DueMs(4500), 6500u + PlaySchedule::MaxStepMs);
    EXPECT_EQ(schedule.PassMs(), 6500u + 2 * PlaySchedule::MaxStepMs);
}

TEST(PlaySchedule, WithoutTwoUsablePointsTheFallbackRateApplies) {
    PlaySchedule none;
    none.Finish(3000, 1500);
    EXPECT_EQ(none.DueMs(1500), 1000u);
    EXPECT_EQ(none.PassMs(), 2000u);

    PlaySchedule one;
    one.AddTimePoint(1500, 5000);
    one.AddTimePoint(2000, 5000);  // the same second again
    one.Finish(3000, 1500);
    EXPECT_EQ(one.DueMs(1500), 1000u);
    EXPECT_EQ(one.PassMs(), 2000u);
}

// 1000 bytes a second over a 3000-byte file in 1000-byte chunks.
struct RealTimePacer {
    explicit RealTimePacer(uint32_t startTick, bool loop) {
        schedule.Finish(3000, 1000);
        pacer.Start(&schedule, 3000, 1000, loop, startTick);
    }
    PlaySchedule schedule;
    ChunkPacer pacer;
};

TEST(ChunkPacer, RealTimeChunksAreDueAcrossTheTickWrapAndLoopOnSchedule) {
    const uint32_t start = 0xFFFFFC18;  // the tick counter wraps 1000 ms later
    RealTimePacer paced(start, true);
    ChunkPacer& pacer = paced.pacer;
    EXPECT_EQ(pacer.MsUntilDue(start), 1000);
    EXPECT_EQ(pacer.MsUntilDue(start + 999), 1);
    EXPECT_EQ(pacer.MsUntilDue(start + 1000), 0);
    EXPECT_EQ(pacer.ReadyCount(start + 2500), 2u);
    for (int i = 0; i < 3; ++i)
        pacer.Advance();
    // The second pass is due from where the first one's schedule ended, not from when it ended.
    EXPECT_EQ(pacer.NextOffset(), 0u);
    EXPECT_FALSE(pacer.Ended());
    EXPECT_EQ(pacer.MsUntilDue(start + 3000), 1000);
    EXPECT_EQ(pacer.ReadyCount(start + 10000), 7u);  // late by two passes: it catches up
    EXPECT_EQ(pacer.ReadyCount(start + 1000000), uint32_t(ChunkPacer::ReadyLimit));
    pacer.Advance();
    pacer.Restart(start + 10000);
    EXPECT_EQ(pacer.NextOffset(), 0u);
    EXPECT_EQ(pacer.MsUntilDue(start + 10000), 1000);
}

TEST(ChunkPacer, WithoutLoopTheFileEnds) {
    RealTimePacer paced(0, false);
    for (int i = 0; i < 3; ++i)
        paced.pacer.Advance();
    EXPECT_TRUE(paced.pacer.Ended());
    EXPECT_EQ(paced.pacer.ReadyCount(100000), 0u);

    ChunkPacer fast;
    fast.Start(nullptr, 2500, 1000, false, 0);
    EXPECT_EQ(fast.ReadyCount(0), 3u);
    const uint32_t sizes[] = {1000, 1000, 500};
    for (uint32_t size : sizes) {
        EXPECT_FALSE(fast.Ended());
        EXPECT_LE(fast.MsUntilDue(0), 0);
        EXPECT_EQ(fast.NextSize(), size);
        fast.Advance();
    }
    EXPECT_TRUE(fast.Ended());
}

}  // namespace
