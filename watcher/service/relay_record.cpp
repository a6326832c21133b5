#include "relay_record.h"

#include <algorithm>

#include "announce_record.h"

namespace {

void Put32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

uint32_t Get32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// A scan's end carries nothing; a window's text, when it answered, must be read by the same
// rules as a window's own.
bool WellFormed(const RelayRecord& record)
{
    if (record.window == 0) return record.length == 0 && record.processId == 0;
    AnnounceRecord announced;
    return record.length == 0 || ParseAnnounceText(record.text, record.length, &announced);
}

}  // namespace

void AppendRelayRecord(std::vector<uint8_t>& bytes, const RelayRecord& record)
{
    Put32(bytes, static_cast<uint32_t>(RelayFieldsBytes + record.length * 2));
    Put32(bytes, record.window);
    Put32(bytes, record.processId);
    Put32(bytes, record.readTick);
    for (DWORD i = 0; i < record.length; ++i) {
        bytes.push_back(static_cast<uint8_t>(record.text[i]));
        bytes.push_back(static_cast<uint8_t>(record.text[i] >> 8));
    }
}

void AppendScanEnd(std::vector<uint8_t>& bytes)
{
    RelayRecord end{};
    AppendRelayRecord(bytes, end);
}

void AppendScan(std::vector<uint8_t>& bytes, const std::vector<AnnouncerSnapshot>& windows)
{
    for (const AnnouncerSnapshot& found : windows) {
        RelayRecord record{};
        record.window = static_cast<uint32_t>(found.key);
        record.processId = found.processId;
        record.readTick = found.readTick;
        record.length = found.answered ? found.length : 0;
        for (DWORD i = 0; i < record.length; ++i) record.text[i] = found.text[i];
        AppendRelayRecord(bytes, record);
    }
    AppendScanEnd(bytes);
}

DWORD RelayScanPauseMsec(size_t windows, DWORD periodMsec)
{
    const uint64_t paced = static_cast<uint64_t>(windows) * 1000 / RelayRecordsPerSecond;
    return paced > periodMsec ? static_cast<DWORD>(paced) : periodMsec;
}

void RelayRecordReader::Append(const uint8_t* bytes, size_t count)
{
    Pending.erase(Pending.begin(), Pending.begin() + Front);
    Front = 0;
    const size_t skipped = std::min(Skipping, count);
    Skipping -= skipped;
    Pending.insert(Pending.end(), bytes + skipped, bytes + count);
}

bool RelayRecordReader::Next(RelayFrame& frame, RelayRecord& record)
{
    const size_t held = Pending.size() - Front;
    if (held < RelaySizeBytes) return false;
    const size_t bodyBytes = Get32(Pending.data() + Front);
    if (bodyBytes > RelayRecordLimit - RelaySizeBytes) {
        // Skipped as it comes, never held.
        const size_t here = std::min(held - RelaySizeBytes, bodyBytes);
        Skipping = bodyBytes - here;
        Front += RelaySizeBytes + here;
        frame = RelayFrame::Oversized;
        return true;
    }
    return TakeRecord(bodyBytes, frame, record);
}

bool RelayRecordReader::TakeRecord(size_t bodyBytes, RelayFrame& frame, RelayRecord& record)
{
    if (Pending.size() - Front < RelaySizeBytes + bodyBytes) return false;
    const uint8_t* body = Pending.data() + Front + RelaySizeBytes;
    const size_t textBytes = bodyBytes >= RelayFieldsBytes ? bodyBytes - RelayFieldsBytes : 0;
    frame = RelayFrame::Malformed;
    if (bodyBytes >= RelayFieldsBytes && textBytes % 2 == 0 &&
        textBytes / 2 < AnnounceTextSize) {
        RelayRecord found{};
        found.window = Get32(body);
        found.processId = Get32(body + 4);
        found.readTick = Get32(body + 8);
        found.length = static_cast<DWORD>(textBytes / 2);
        for (DWORD i = 0; i < found.length; ++i) {
            found.text[i] = static_cast<WCHAR>(body[12 + 2 * i] | body[13 + 2 * i] << 8);
        }
        if (WellFormed(found)) {
            record = found;
            frame = RelayFrame::Record;
        }
    }
    Front += RelaySizeBytes + bodyBytes;
    return true;
}
