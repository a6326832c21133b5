// The records a relay writes into its pipe to the service: one per announcement window it read
// on its desktop, and one that ends each of its scans. Little-endian 32-bit fields: the size of
// what follows the size field, the window's handle (0 ends a scan), the owner's process id, the
// tick of reading; then the text as read, in UTF-16 units, without a terminator.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "desktop_snapshot.h"

// The option the service starts its relays with: Horavant.exe --relay.
inline constexpr wchar_t RelayArgument[] = L"--relay";

constexpr size_t RelayRecordLimit = 4096;  // bytes of a whole record, its size field included
constexpr uint32_t RelayRecordsPerSecond = 200;  // window records; the service drops more
constexpr size_t RelaySizeBytes = 4;
constexpr size_t RelayFieldsBytes = 12;    // window, process id, tick

struct RelayRecord {
    uint32_t window;  // its handle's low 32 bits, the significant ones; 0 ends a scan
    DWORD processId;
    DWORD readTick;  // GetTickCount() of the relay when it read the text, ms
    DWORD length;    // of `text`, without its terminator
    WCHAR text[AnnounceTextSize];
};

void AppendRelayRecord(std::vector<uint8_t>& bytes, const RelayRecord& record);

// Appends the record that ends a scan: the windows of the scan are complete.
void AppendScanEnd(std::vector<uint8_t>& bytes);

// Appends the records of a relay's scan of its desktop: one per window (with no text when it
// did not answer, so that it still counts as there), then the scan's end.
void AppendScan(std::vector<uint8_t>& bytes, const std::vector<AnnouncerSnapshot>& windows);

// How long the relay waits after a scan of `windows` windows: its period, or longer when many
// windows and a short period would send more than RelayRecordsPerSecond.
DWORD RelayScanPauseMsec(size_t windows, DWORD periodMsec);

enum class RelayFrame {
    Record,     // well-formed: a scan's end, a window that did not answer, or a window whose
                // text the strict reader takes
    Oversized,  // more than RelayRecordLimit bytes: skipped unread
    Malformed,  // any other record: dropped
};

// Splits what a relay wrote into records. The relay runs as the signed-in user, who can replace
// what it writes: nothing here is taken on trust, and no claimed size is ever allocated.
class RelayRecordReader {
public:
    void Append(const uint8_t* bytes, size_t count);
    // The next whole record of what was appended; false when more bytes are needed. `record`
    // is filled only for a well-formed record.
    bool Next(RelayFrame& frame, RelayRecord& record);

private:
    // The record whose size field lies at Front, when all of it has come.
    bool TakeRecord(size_t bodyBytes, RelayFrame& frame, RelayRecord& record);

    std::vector<uint8_t> Pending;
    size_t Front = 0;     // where the next record begins in Pending
    size_t Skipping = 0;  // bytes of an oversized record that are still to come
};
