// Builds transport streams in memory for the test driver to serve: filler packets with a
// pseudo-random payload and time-table packets (TDT/TOT on PID 0x0014) whose time can be
// rewritten in place between chunks.
#pragma once

#include <windows.h>

struct BroadcastTime {
    WORD year, month, day, hour, minute, second;
};

class TsStreamBuilder {
public:
    // `buffer` of `capacity` bytes; packets of `packetSize` bytes (188, 192, 204...).
    TsStreamBuilder(BYTE* buffer, DWORD capacity, int packetSize);

    void AddFillerPackets(int count);
    // Returns the packet's offset, for SetTime. `tableId` is 0x70 (TDT) or 0x73 (TOT).
    DWORD AddTimePacket(BYTE tableId, const BroadcastTime& time);
    void SetTime(DWORD packetOffset, const BroadcastTime& time);
    DWORD Size() const { return Used; }

private:
    BYTE* NewPacket();

    BYTE* Buffer;
    DWORD Capacity;
    DWORD Used;
    int PacketSize;
    DWORD Noise;
};

// The broadcast's 16-bit Modified Julian Date of a calendar date from 1900-03-01 on.
WORD ModifiedJulianDate(WORD year, WORD month, WORD day);
// SystemTimeToFileTime of the time, as the analyser stores it.
FILETIME BroadcastFileTime(const BroadcastTime& time);
