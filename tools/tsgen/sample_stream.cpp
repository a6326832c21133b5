#include "sample_stream.h"

namespace {

const int PacketsPerSecond = 40;
const int SecondsPerStretch = 12;
const int TotSlot = PacketsPerSecond / 2;
const int VideoPid = 0x0100;

enum class Framing {
    Plain,      // 188 bytes
    Timecoded,  // 192 bytes: a 4-byte arrival timecode, then the packet
    Protected,  // 204 bytes: the packet, then 16 bytes of Reed-Solomon parity
};

struct Stretch {
    Framing framing;
    UtcTime start;
};

void Append(Bytes& stream, const Bytes& packet, Framing framing, uint32_t& timecode) {
    if (framing == Framing::Timecoded) {
        timecode += 27000000 / PacketsPerSecond;  // arrival time on a 27 MHz clock
        for (int shift = 24; shift >= 0; shift -= 8)
            stream.push_back(uint8_t((timecode & 0x3FFFFFFF) >> shift));
    }
    stream.insert(stream.end(), packet.begin(), packet.end());
    if (framing == Framing::Protected)
        stream.insert(stream.end(), 16, 0x00);
}

// The packet at `slot` of a second: a TDT first, a TOT in the middle every fifth second,
// otherwise payload with a null packet in every fourth slot.
Bytes SlotPacket(TsPacketWriter& writer, const UtcTime& time, int slot, uint32_t& seed) {
    if (slot == 0)
        return writer.TimeDateSection(time);
    if (slot == TotSlot && time.second % 5 == 0)
        return writer.TimeOffsetSection(time);
    if (slot % 4 == 3)
        return writer.NullPacket();
    return writer.DataPacket(VideoPid, seed);
}

bool SameSecond(const UtcTime& a, const uint8_t* utcTime) {
    uint8_t field[5];
    EncodeUtcTime(a, field);
    for (int i = 0; i < 5; ++i)
        if (field[i] != utcTime[i])
            return false;
    return true;
}

// The packets of `seconds` seconds from `stretch.start` on; `capturedTot`, when given, follows
// the TDT of the second it carries.
struct StreamState {
    TsPacketWriter writer;
    uint32_t seed = 0x2545F491;
    uint32_t timecode = 0;
    Bytes stream;
};

void AppendStretch(StreamState& state, const Stretch& stretch, int seconds,
                   const Bytes* capturedTot) {
    // The captured packet: TOT section from byte 5, UTC_time at section bytes 3 to 7.
    const uint8_t* capturedTime = capturedTot ? &(*capturedTot)[5 + 3] : nullptr;
    for (int second = 0; second < seconds; ++second) {
        const UtcTime time = AddSeconds(stretch.start, second);
        for (int slot = 0; slot < PacketsPerSecond; ++slot) {
            Append(state.stream, SlotPacket(state.writer, time, slot, state.seed), stretch.framing,
                   state.timecode);
            if (slot == 0 && capturedTime && SameSecond(time, capturedTime))
                Append(state.stream, *capturedTot, stretch.framing, state.timecode);
        }
    }
}

}  // namespace

Bytes GenerateSampleStream(const Bytes& capturedTot) {
    const Stretch stretches[] = {
        {Framing::Plain, {2007, 11, 23, 13, 25, 5}},
        {Framing::Timecoded, {2024, 12, 31, 23, 59, 54}},
        {Framing::Protected, {2038, 4, 22, 23, 59, 55}},  // the 16-bit MJD wraps at midnight
    };
    StreamState state;
    for (const Stretch& stretch : stretches)
        AppendStretch(state, stretch, SecondsPerStretch, &capturedTot);
    return state.stream;
}

Bytes GenerateTimeStream(const UtcTime& start, int seconds) {
    StreamState state;
    AppendStretch(state, {Framing::Plain, start}, seconds, nullptr);
    return state.stream;
}
