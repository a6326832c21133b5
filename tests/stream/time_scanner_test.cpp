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
