// The inspector's scanner: the same events whatever the read sizes, and offsets that point at
// the packets that carry the reported times.
#include "time_scanner.h"

#include "test_packets.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct Event {
    std::string kind;
    uint64_t offset;
    int value;  // packet size, or table id
    SYSTEMTIME time;
};

class Recorder : public TimeScannerEvents {
public:
    void Synchronised(uint64_t firstPacket, int packetSize) override {
        events.push_back({"sync", firstPacket, packetSize, {}});
    }
    void SyncLost(uint64_t packet) override { events.push_back({"lost", packet, 0, {}}); }
    void TimeDecoded(uint64_t packet, BYTE tableId, const SYSTEMTIME& time) override {
        events.push_back({"time", packet, tableId, time});
    }
    std::vector<Event> events;
};

std::vector<Event> Scan(const Bytes& stream, const std::vector<size_t>& reads) {
    Recorder recorder;
    TimeScanner scanner(recorder);
    size_t at = 0;
    for (size_t read : reads) {
        scanner.Feed(stream.data() + at, read);
        at += read;
    }
    return recorder.events;
}

std::string Describe(const std::vector<Event>& events) {
    std::string text;
    for (const Event& event : events)
        text += event.kind + " " + std::to_string(event.offset) + " " + std::to_string(event.value) + " " +
                std::to_string(event.time.wHour * 10000 + event.time.wMinute * 100 + event.time.wSecond) + "\n";
    return text;
}

// Two stretches of different packet sizes with a few damaged sync bytes.
Bytes TestStream(std::mt19937& random) {
    Bytes stream = IndexedStream(204, 33, 150, random, 3);
    stream[33 + 204 * 90] = 0x00;
    const Bytes second = IndexedStream(188, 0, 150, random, 4);
    stream.insert(stream.end(), second.begin(), second.end());
    return stream;
}

TEST(TimeScanner, ReadSizesDoNotChangeTheEvents) {
    std::mt19937 random(11);
    const Bytes stream = TestStream(random);
    const std::string whole = Describe(Scan(stream, {stream.size()}));
    EXPECT_EQ(Describe(Scan(stream, std::vector<size_t>(stream.size(), 1))), whole);
    for (int round = 0; round < 5; ++round)
        EXPECT_EQ(Describe(Scan(stream, RandomChunks(stream.size(), random))), whole);
}

// Two scanners alive at once (two file drivers opening on two threads) each report their own
// stream's events only.
TEST(TimeScanner, ScannersAliveAtOnceKeepTheirEventsApart) {
    std::mt19937 random(13);
    const Bytes streams[2] = {TestStream(random), IndexedStream(192, 7, 120, random, 5)};
    Recorder recorders[2];
    TimeScanner first(recorders[0]);
    TimeScanner second(recorders[1]);
    TimeScanner* scanners[2] = {&first, &second};
    const std::vector<size_t> reads[2] = {RandomChunks(streams[0].size(), random),
                                          RandomChunks(streams[1].size(), random)};
    size_t at[2] = {0, 0};
    for (size_t turn = 0; turn < reads[0].size() || turn < reads[1].size(); ++turn) {
        for (int i = 0; i < 2; ++i) {
            if (turn >= reads[i].size())
                continue;
            scanners[i]->Feed(streams[i].data() + at[i], reads[i][turn]);
            at[i] += reads[i][turn];
        }
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Describe(recorders[i].events), Describe(Scan(streams[i], {streams[i].size()})));
}

TEST(TimeScanner, OffsetsPointAtTheReportedPackets) {
    std::mt19937 random(12);
    const Bytes stream = TestStream(random);
    const std::vector<Event> events = Scan(stream, {stream.size()});
    int times = 0, syncs = 0, losses = 0;
    for (const Event& event : events) {
        ASSERT_LT(event.offset, stream.size());
        if (event.kind == "time") {
            ++times;
            BYTE tableId;
            SYSTEMTIME time;
            FILETIME fileTime;
            ASSERT_TRUE(CTsAnalyzer::ReadTimePacket(&stream[event.offset], tableId, time, fileTime));
            EXPECT_EQ(tableId, event.value);
            EXPECT_EQ(memcmp(&time, &event.time, sizeof time), 0);
        } else if (event.kind == "sync") {
            ++syncs;
            EXPECT_EQ(stream[event.offset], 0x47);
        } else {
            ++losses;
        }
    }
    // Synchronised on both stretches, lost at the damaged byte and at the change of size.
    EXPECT_EQ(syncs, 3);
    EXPECT_EQ(losses, 2);
    EXPECT_GT(times, 50);
}

}  // namespace
