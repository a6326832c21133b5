// Transport packets for the sample stream: TDT and TOT sections on PID 0x0014, payload packets
// of other PIDs and null packets, each 188 bytes, with per-PID continuity counters.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <map>
#include <vector>

typedef std::vector<uint8_t> Bytes;

struct UtcTime {
    int year, month, day, hour, minute, second;
};

// The 40-bit UTC_time field: 16-bit MJD (wrapped modulo 65536 from 2038-04-23 on), then
// hours, minutes and seconds as BCD.
void EncodeUtcTime(const UtcTime& time, uint8_t field[5]);

// The time `seconds` after `start`.
UtcTime AddSeconds(const UtcTime& start, int seconds);

class TsPacketWriter {
public:
    Bytes TimeDateSection(const UtcTime& time);    // TDT, table_id 0x70
    Bytes TimeOffsetSection(const UtcTime& time);  // TOT, table_id 0x73, empty descriptor loop
    Bytes NullPacket();                            // PID 0x1FFF, stuffing
    // PID `pid` with a payload of pseudo-random bytes drawn from `seed` (0x47 bytes included).
    Bytes DataPacket(int pid, uint32_t& seed);

private:
    Bytes Packet(int pid, const Bytes& section);
    std::map<int, int> continuity;
};

// CRC-32 of MPEG-2 sections (polynomial 0x04C11DB7, initial value all ones, no reflection).
uint32_t SectionCrc32(const uint8_t* data, size_t size);
