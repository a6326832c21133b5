#include "ts_stream_builder.h"

#include <string.h>

namespace {

const BYTE SyncByte = 0x47;
const int FillerPid = 0x1FFF;
const int TimePid = 0x0014;
const int TimeFieldOffset = 5 + 3;  // header 4, pointer_field 1, then table_id and length 3

BYTE Bcd(WORD value) { return BYTE((value / 10) << 4 | value % 10); }

void PutHeader(BYTE* packet, int pid, bool unitStart, int continuity) {
    packet[0] = SyncByte;
    packet[1] = BYTE((unitStart ? 0x40 : 0) | (pid >> 8));
    packet[2] = BYTE(pid);
    packet[3] = BYTE(0x10 | (continuity & 0x0F));  // payload only
}

}  // namespace

WORD ModifiedJulianDate(WORD year, WORD month, WORD day) {
    // EN 300 468 Annex C, from calendar date to MJD.
    const int leap = month <= 2 ? 1 : 0;
    const int y = year - 1900 - leap;
    const int m = month + 1 + leap * 12;
    return WORD(14956 + day + int(y * 365.25) + int(m * 30.6001));
}

FILETIME BroadcastFileTime(const BroadcastTime& time) {
    SYSTEMTIME system = {};
    system.wYear = time.year;
    system.wMonth = time.month;
    system.wDay = time.day;
    system.wHour = time.hour;
    system.wMinute = time.minute;
    system.wSecond = time.second;
    FILETIME fileTime = {};
    SystemTimeToFileTime(&system, &fileTime);
    return fileTime;
}

TsStreamBuilder::TsStreamBuilder(BYTE* buffer, DWORD capacity, int packetSize)
    : Buffer(buffer), Capacity(capacity), Used(0), PacketSize(packetSize), Noise(0x2545F491) {}

BYTE* TsStreamBuilder::NewPacket() {
    if (Used + DWORD(PacketSize) > Capacity)
        return nullptr;
    BYTE* packet = Buffer + Used;
    Used += PacketSize;
    return packet;
}

void TsStreamBuilder::AddFillerPackets(int count) {
    for (int i = 0; i < count; ++i) {
        BYTE* packet = NewPacket();
        if (!packet)
            return;
        PutHeader(packet, FillerPid, false, i);
        for (int j = 4; j < PacketSize; ++j) {
            Noise = Noise * 1103515245 + 12345;
            packet[j] = BYTE(Noise >> 16);
        }
    }
}

DWORD TsStreamBuilder::AddTimePacket(BYTE tableId, const BroadcastTime& time) {
    BYTE* packet = NewPacket();
    if (!packet)
        return 0;
    memset(packet, 0xFF, PacketSize);
    PutHeader(packet, TimePid, true, 0);
    packet[4] = 0;  // pointer_field: the section starts right after it
    packet[5] = tableId;
    packet[6] = 0x70;  // section_syntax_indicator 0, reserved bits, length high bits
    packet[7] = tableId == 0x73 ? 0x0F : 0x05;
    const DWORD offset = DWORD(packet - Buffer);
    SetTime(offset, time);
    return offset;
}

void TsStreamBuilder::SetTime(DWORD packetOffset, const BroadcastTime& time) {
    BYTE* field = Buffer + packetOffset + TimeFieldOffset;
    const WORD mjd = ModifiedJulianDate(time.year, time.month, time.day);
    field[0] = BYTE(mjd >> 8);
    field[1] = BYTE(mjd);
    field[2] = Bcd(time.hour);
    field[3] = Bcd(time.minute);
    field[4] = Bcd(time.second);
}
