#include "ts_packet_writer.h"

namespace {

const int TimePid = 0x0014;
const int NullPid = 0x1FFF;

int64_t DaysFromCivil(int year, int month, int day) {
    const int shiftedYear = month <= 2 ? year - 1 : year;
    const int era = shiftedYear / 400;
    const int yearOfEra = shiftedYear - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return int64_t(era) * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    const int64_t era = days / 146097;
    const int dayOfEra = int(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = int(era * 400) + yearOfEra + (month <= 2 ? 1 : 0);
}

uint8_t Bcd(int value) {
    return uint8_t(value / 10 << 4 | value % 10);
}

uint32_t NextRandom(uint32_t& seed) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
}

}  // namespace

void EncodeUtcTime(const UtcTime& time, uint8_t field[5]) {
    const int64_t mjd = DaysFromCivil(time.year, time.month, time.day) - DaysFromCivil(1858, 11, 17);
    field[0] = uint8_t(mjd >> 8);
    field[1] = uint8_t(mjd);
    field[2] = Bcd(time.hour);
    field[3] = Bcd(time.minute);
    field[4] = Bcd(time.second);
}

UtcTime AddSeconds(const UtcTime& start, int seconds) {
    int64_t total = ((DaysFromCivil(start.year, start.month, start.day) * 24 + start.hour) * 60 + start.minute) * 60 +
                    start.second + seconds;
    UtcTime time;
    time.second = int(total % 60);
    time.minute = int(total / 60 % 60);
    time.hour = int(total / 3600 % 24);
    CivilFromDays(total / 86400, time.year, time.month, time.day);
    return time;
}

uint32_t SectionCrc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= uint32_t(data[i]) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 0x80000000 ? crc << 1 ^ 0x04C11DB7 : crc << 1;
    }
    return crc;
}

Bytes TsPacketWriter::TimeDateSection(const UtcTime& time) {
    Bytes section = {0x70, 0x70, 0x05, 0, 0, 0, 0, 0};
    EncodeUtcTime(time, &section[3]);
    return Packet(TimePid, section);
}

Bytes TsPacketWriter::TimeOffsetSection(const UtcTime& time) {
    Bytes section = {0x73, 0x70, 0x0B, 0, 0, 0, 0, 0, 0xF0, 0x00};
    EncodeUtcTime(time, &section[3]);
    const uint32_t crc = SectionCrc32(section.data(), section.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        section.push_back(uint8_t(crc >> shift));
    return Packet(TimePid, section);
}

Bytes TsPacketWriter::NullPacket() {
    Bytes packet(188, 0xFF);
    packet[0] = 0x47;
    packet[1] = NullPid >> 8;
    packet[2] = NullPid & 0xFF;
    packet[3] = 0x10;
    return packet;
}

Bytes TsPacketWriter::DataPacket(int pid, uint32_t& seed) {
    Bytes packet(188);
    packet[0] = 0x47;
    packet[1] = uint8_t(pid >> 8 & 0x1F);
    packet[2] = uint8_t(pid);
    packet[3] = uint8_t(0x10 | (continuity[pid]++ & 0x0F));
    for (size_t i = 4; i < packet.size(); ++i)
        packet[i] = uint8_t(NextRandom(seed));
    return packet;
}

// A section that starts in the packet: payload_unit_start_indicator set, pointer_field 0,
// stuffing after the section.
Bytes TsPacketWriter::Packet(int pid, const Bytes& section) {
    Bytes packet(188, 0xFF);
    packet[0] = 0x47;
    packet[1] = uint8_t(0x40 | (pid >> 8 & 0x1F));
    packet[2] = uint8_t(pid);
    packet[3] = uint8_t(0x10 | (continuity[pid]++ & 0x0F));
    packet[4] = 0;
    for (size_t i = 0; i < section.size(); ++i)
        packet[5 + i] = section[i];
    return packet;
}
