#include "relay_channel.h"

void RelayChannel::Take(const std::vector<uint8_t>& bytes, DWORD now, RelayOwners& owners)
{
    Reader.Append(bytes.data(), bytes.size());
    RelayFrame frame;
    RelayRecord record;
    while (Reader.Next(frame, record)) {
        if (frame != RelayFrame::Record) ++DroppedCount;
        else if (record.window == 0) EndScan(owners);
        else if (WithinRate(now)) TakeWindow(record, now);
        else ++DroppedCount;
    }
}

bool RelayChannel::WithinRate(DWORD now)
{
    if (now - SecondStart >= 1000) {
        SecondStart = now;
        InSecond = 0;
    }
    return InSecond++ < RelayRecordsPerSecond;
}

void RelayChannel::TakeWindow(const RelayRecord& record, DWORD now)
{
    // A text cannot have been read after it arrived (`now` is taken before the pipe is read,
    // hence the slack); and a scan holds no more windows than the rate lets through in a second.
    const bool readLater = static_cast<int32_t>(record.readTick - now) > RelayReadSlackMsec;
    const bool full = Scanning.size() >= RelayRecordsPerSecond && !Scanning.count(record.window);
    if (readLater || full) {
        ++DroppedCount;
        return;
    }
    AnnouncerSnapshot& found = Scanning[record.window];
    found.key = RelayedKey(Session, record.window);
    found.answered = record.length != 0;
    found.length = record.length;
    for (DWORD i = 0; i < record.length; ++i) found.text[i] = record.text[i];
    found.text[record.length] = 0;
    found.processId = record.processId;
    found.readTick = record.readTick;
    found.relayedOwner.clear();
}

// The owner is looked up once per window and process: a window reported again by the same
// process keeps what was found.
void RelayChannel::EndScan(RelayOwners& owners)
{
    for (auto it = Scanning.begin(); it != Scanning.end();) {
        AnnouncerSnapshot& found = it->second;
        const auto known = Latest.find(it->first);
        if (known != Latest.end() && known->second.processId == found.processId) {
            found.relayedOwner = known->second.relayedOwner;
            ++it;
            continue;
        }
        const OwnerCheck check = owners.FindOwner(found.processId, Session, found.relayedOwner);
        if (check == OwnerCheck::Refused) {
            ++DroppedCount;
            it = Scanning.erase(it);
            continue;
        }
        if (check == OwnerCheck::Unknown) found.relayedOwner.clear();
        ++it;
    }
    Latest.swap(Scanning);
    Scanning.clear();
}

void RelayChannel::AppendTo(std::vector<AnnouncerSnapshot>& windows) const
{
    for (const auto& entry : Latest) windows.push_back(entry.second);
}
