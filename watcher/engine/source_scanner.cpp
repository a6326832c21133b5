#include "source_scanner.h"

#include "announce_record.h"
#include "source_trust.h"

namespace {

SourceRecord NewSourceRecord(ScanPlatform& platform, const WatchSettings& settings, SourceKey key,
                             const AnnounceRecord& announced)
{
    SourceRecord record{};
    record.tick = announced.tick;
    record.fileTime = announced.fileTime;
    record.acceptance = FirstSample({announced.tick, announced.fileTime});
    CopySourceName(record, announced.name, announced.nameLength);
    if (platform.OwnerModulePath(key, record.modulePath) == 0) MarkModuleUnknown(record);
    record.trusted = DecideTrust(record.name, record.modulePath, settings);
    return record;
}

}  // namespace

void ApplyAnnounceText(ScanPlatform& platform, SourceTable& table, const WatchSettings& settings,
                       SourceKey key, const WCHAR* text, DWORD length)
{
    AnnounceRecord announced;
    if (!ParseAnnounceText(text, length, &announced)) return;
    if (announced.kind == AnnounceKind::NoTime) {
        table.erase(key);
        return;
    }
    const auto found = table.find(key);
    if (found == table.end()) {
        table[key] = NewSourceRecord(platform, settings, key, announced);
        return;
    }
    // A repeated tick is the same sample: its time is not taken again.
    SourceRecord& record = found->second;
    if (record.tick != announced.tick) {
        record.tick = announced.tick;
        record.fileTime = announced.fileTime;
        AcceptOrHold(record.acceptance, {announced.tick, announced.fileTime});
    }
}

void PruneSources(ScanPlatform& platform, SourceTable& table)
{
    for (auto it = table.upper_bound(BroadcastKey); it != table.end();) {
        const auto current = it++;
        if (!platform.Exists(current->first)) table.erase(current);
    }
}

void ScanSources(ScanPlatform& platform, SourceTable& table, const WatchSettings& settings)
{
    for (SourceKey key = platform.NextAnnouncer(BroadcastKey); key != BroadcastKey;
         key = platform.NextAnnouncer(key)) {
        WCHAR text[AnnounceTextSize];
        DWORD length = 0;
        if (platform.ReadText(key, text, length)) {
            ApplyAnnounceText(platform, table, settings, key, text, length);
        }
    }
    PruneSources(platform, table);
}
