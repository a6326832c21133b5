#include "source_table.h"

#include <wchar.h>

const WCHAR UnknownModulePath[] = L"<Unknown>";

namespace {

constexpr int64_t SecondsFrom1601To1970 = 11644473600;
constexpr int64_t FileTimeUnitsPerSecond = 10000000;

}  // namespace

void MarkModuleUnknown(SourceRecord& record)
{
    DWORD i = 0;
    for (; UnknownModulePath[i] != 0; ++i) record.modulePath[i] = UnknownModulePath[i];
    record.modulePath[i] = 0;
}

void CopySourceName(SourceRecord& record, const WCHAR* name, DWORD length)
{
    DWORD i = 0;
    for (; i < length && i + 1 < SourceNameSize && name[i] != 0; ++i) record.name[i] = name[i];
    record.name[i] = 0;
}

void StoreBroadcast(SourceTable& table, int32_t& broadcastCount, int32_t seconds, DWORD nowTick)
{
    const uint64_t fileTime =
        static_cast<uint64_t>((seconds + SecondsFrom1601To1970) * FileTimeUnitsPerSecond);
    SourceRecord record{};
    record.tick = nowTick;
    record.fileTime.dwLowDateTime = static_cast<DWORD>(fileTime);
    record.fileTime.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    record.trusted = false;
    record.acceptance = FirstSample({record.tick, record.fileTime});
    swprintf(record.name, SourceNameSize, L"<Broadcast%d>", static_cast<int>(broadcastCount));
    MarkModuleUnknown(record);
    table[BroadcastKey] = record;
    broadcastCount = static_cast<int32_t>(static_cast<uint32_t>(broadcastCount) + 1);
}
