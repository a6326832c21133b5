// Time-table decoding: the TDT/TOT packets on PID 0x0014 give the broadcast's UTC_time, stored
// with the tick of its arrival as the analyser's sample.
#include "ts_analyzer.h"

#include "time_table_pid.h"

namespace {

const BYTE TdtTableId = 0x70;
const BYTE TotTableId = 0x73;
const int MaxAdaptationLength = 182;  // longer leaves no room for a payload in 188 bytes
// The eight section bytes used (table_id up to the seconds) must lie in the first 188 bytes
// of the packet, whatever the packet size.
const int LastSectionOffset = 188 - 8;
// A 16-bit MJD before 1900-03-01, where the conversion below starts, belongs to the next
// cycle of 65536 days (2038-04-23 to 2079-08-04).
const int32_t FirstMjd = 15079;
const int32_t MjdCycle = 0x10000;

}  // namespace

bool CTsAnalyzer::ReadTimePacket(const BYTE* packet, BYTE& tableId, SYSTEMTIME& time, FILETIME& fileTime) {
    if (!IsTimeTablePid(packet))
        return false;
    if (packet[1] & 0x80)
        return false;  // transport_error_indicator: damaged in transit
    if (!(packet[1] & 0x40))
        return false;  // continues a section that began earlier
    if (packet[3] & 0xC0)
        return false;  // scrambled
    const int adaptation = packet[3] >> 4 & 3;
    if (!(adaptation & 1))
        return false;  // 00 is reserved, 10 carries no payload
    int payload = 4;
    if (adaptation == 3) {
        if (packet[4] > MaxAdaptationLength)
            return false;
        payload = 5 + packet[4];
    }
    const int section = payload + 1 + packet[payload];  // after the pointer_field
    if (section > LastSectionOffset)
        return false;
    if (packet[section] != TdtTableId && packet[section] != TotTableId)
        return false;
    SYSTEMTIME decoded;
    if (!DecodeUtcTime(packet + section + 3, decoded))
        return false;
    FILETIME decodedFileTime;
    if (!SystemTimeToFileTime(&decoded, &decodedFileTime))
        return false;  // a member out of range, e.g. a leap second or a BCD digit above 9
    tableId = packet[section];
    time = decoded;
    fileTime = decodedFileTime;
    return true;
}

void CTsAnalyzer::ProcessPacket(const BYTE* packet) {
    BYTE tableId;
    SYSTEMTIME time;
    FILETIME fileTime;
    if (!ReadTimePacket(packet, tableId, time, fileTime))
        return;
    EnterCriticalSection(&Lock);
    Sample.ReceivedTick = int64_t(GetTickCount());  // widened without sign
    Sample.BroadcastTime = time;
    Sample.BroadcastFileTime = fileTime;
    OnTotUpdated();
    LeaveCriticalSection(&Lock);
}

bool CTsAnalyzer::DecodeUtcTime(const BYTE* utcTime, SYSTEMTIME& time) {
    if ((utcTime[0] & utcTime[1] & utcTime[2] & utcTime[3] & utcTime[4]) == 0xFF)
        return false;  // all 40 bits one: the time is undefined
    MjdToDate(WORD(utcTime[0] << 8 | utcTime[1]), time.wYear, time.wMonth, time.wDay, time.wDayOfWeek);
    time.wHour = BcdToBinary(utcTime[2]);
    time.wMinute = BcdToBinary(utcTime[3]);
    time.wSecond = BcdToBinary(utcTime[4]);
    time.wMilliseconds = 0;
    return true;
}

// The broadcast standard's MJD conversion, in double precision with truncation toward zero;
// exact for every day of the two cycles it is used for.
void CTsAnalyzer::MjdToDate(WORD mjd, WORD& year, WORD& month, WORD& day, WORD& dayOfWeek) {
    const int32_t value = mjd < FirstMjd ? mjd + MjdCycle : mjd;
    const int32_t yearIndex = int32_t((value - 15078.2) / 365.25);
    const int32_t yearDays = int32_t(yearIndex * 365.25);
    const int32_t monthIndex = int32_t((value - 14956.1 - yearDays) / 30.6001);
    const int32_t carry = monthIndex == 14 || monthIndex == 15 ? 1 : 0;
    day = WORD(value - 14956 - yearDays - int32_t(monthIndex * 30.6001));
    year = WORD(yearIndex + carry + 1900);
    month = WORD(monthIndex - 1 - 12 * carry);
    dayOfWeek = WORD((value + 3) % 7);  // 0 = Sunday, as SYSTEMTIME counts
}

WORD CTsAnalyzer::BcdToBinary(BYTE bcd) {
    return WORD((bcd >> 4) * 10 + (bcd & 0x0F));  // digits above 9 count with their own value
}
