// What one relay reported, as the service takes it: records checked one by one, at most
// RelayRecordsPerSecond of them a second, and each window's owner found by the service itself,
// in the relay's session as the service's own bookkeeping knows it. The windows of the relay's
// last whole scan join the service's snapshot.
#pragma once

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "desktop_snapshot.h"
#include "relay_record.h"

constexpr int32_t RelayReadSlackMsec = 1000;  // how far a record's tick of reading may lie ahead

enum class OwnerCheck {
    Found,    // the process lives in the session; `path` is its executable's long path
    Unknown,  // it lives there, but its path cannot be read
    Refused,  // it cannot be opened, or lives in another session
};

// On Windows OpenProcess, ProcessIdToSessionId, QueryFullProcessImageNameW, GetLongPathNameW.
class RelayOwners {
public:
    virtual OwnerCheck FindOwner(DWORD processId, DWORD session, std::wstring& path) = 0;

protected:
    ~RelayOwners() = default;
};

class RelayChannel {
public:
    explicit RelayChannel(DWORD session) : Session(session) {}

    // Takes what the relay wrote, read at `now` (ms).
    void Take(const std::vector<uint8_t>& bytes, DWORD now, RelayOwners& owners);
    // Appends the windows of the relay's last whole scan.
    void AppendTo(std::vector<AnnouncerSnapshot>& windows) const;
    // Records dropped so far: oversized, malformed, beyond the rate, or naming a process that
    // the relay's session does not hold.
    uint32_t Dropped() const { return DroppedCount; }

private:
    bool WithinRate(DWORD now);
    void TakeWindow(const RelayRecord& record, DWORD now);
    void EndScan(RelayOwners& owners);

    DWORD Session;
    RelayRecordReader Reader;
    std::map<uint32_t, AnnouncerSnapshot> Scanning;  // the scan under way, by window
    std::map<uint32_t, AnnouncerSnapshot> Latest;    // the last whole scan
    uint32_t DroppedCount = 0;
    DWORD SecondStart = 0;  // of the present one-second window of the rate
    uint32_t InSecond = 0;  // records taken in it
};
