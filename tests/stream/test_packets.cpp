#include "test_packets.h"

namespace {

const int IndexBaseMjd = 50000;
const uint64_t IndexBaseFileTime = 124577568000000000ull;  // 1995-10-10 00:00:00
const uint64_t TicksPerSecond = 10000000;

uint8_t Bcd(int value) {
    return uint8_t(value / 10 << 4 | value % 10);
}

}  // namespace

int SectionOffset(const PacketLayout& layout) {
    const int payload = layout.adaptationControl == 3 ? 5 + layout.adaptationLength : 4;
    return payload + 1 + layout.pointer;
}

Bytes BuildPacket(const PacketLayout& layout) {
    Bytes packet(size_t(layout.size), 0xFF);
    packet[0] = 0x47;
    packet[1] = uint8_t((layout.transportError ? 0x80 : 0) | (layout.unitStart ? 0x40 : 0) | (layout.pid >> 8 & 0x1F));
    packet[2] = uint8_t(layout.pid);
    packet[3] = uint8_t(layout.scrambling << 6 | layout.adaptationControl << 4);
    if (layout.adaptationControl & 2)
        packet[4] = uint8_t(layout.adaptationLength);
    const size_t payload = layout.adaptationControl == 3 ? 5 + size_t(layout.adaptationLength) : 4;
    if (payload < packet.size())
        packet[payload] = uint8_t(layout.pointer);
    const size_t section = size_t(SectionOffset(layout));
    const uint8_t fields[8] = {layout.tableId, 0x70, 0x05, layout.utcTime[0], layout.utcTime[1],
                               layout.utcTime[2], layout.utcTime[3], layout.utcTime[4]};
    for (size_t i = 0; i < 8 && section + i < packet.size(); ++i)
        packet[section + i] = fields[i];
    return packet;
}

Bytes IndexedPacket(int size, int index) {
    PacketLayout layout;
    layout.size = size;
    const int mjd = IndexBaseMjd + index / 86400;
    const int second = index % 86400;
    layout.utcTime[0] = uint8_t(mjd >> 8);
    layout.utcTime[1] = uint8_t(mjd);
    layout.utcTime[2] = Bcd(second / 3600);
    layout.utcTime[3] = Bcd(second / 60 % 60);
    layout.utcTime[4] = Bcd(second % 60);
    return BuildPacket(layout);
}

int IndexOfFileTime(uint64_t fileTime) {
    return int((fileTime - IndexBaseFileTime) / TicksPerSecond);
}

Bytes IndexedStream(int size, int prefix, int count, std::mt19937& random, int timeEvery) {
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes stream;
    for (int i = 0; i < prefix; ++i) {
        int value = byte(random);
        stream.push_back(uint8_t(value == 0x47 ? 0 : value));
    }
    for (int index = 0; index < count; ++index) {
        Bytes packet = IndexedPacket(size, index);
        for (size_t i = 13; i < packet.size(); ++i)
            packet[i] = uint8_t(byte(random));
        if (index % timeEvery != 0) {
            packet[1] |= 0x1F;
            packet[2] = 0xFF;
        }
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

std::vector<size_t> RandomChunks(size_t total, std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::vector<size_t> chunks;
    size_t used = 0;
    while (used < total) {
        size_t size;
        switch (kind(random)) {
        case 0: size = 0; break;
        case 1: size = 1; break;
        case 2: size = std::uniform_int_distribution<size_t>(4097, 12000)(random); break;
        case 3: case 4: size = std::uniform_int_distribution<size_t>(2, 400)(random); break;
        default: size = std::uniform_int_distribution<size_t>(400, 4096)(random); break;
        }
        size = std::min(size, total - used);
        chunks.push_back(size);
        used += size;
    }
    return chunks;
}
