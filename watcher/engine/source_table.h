// The watcher's record of every announcing source, keyed by its announcement window.
#pragma once

#include <stdint.h>

#include <map>

#include "sample_acceptance.h"
#include "win32_types.h"

constexpr DWORD SourceNameSize = 64;    // UTF-16 units with the terminator
constexpr DWORD ModulePathSize = 1024;  // UTF-16 units with the terminator

struct SourceRecord {
    DWORD tick;         // GetTickCount() at reception, ms
    FILETIME fileTime;  // announced wall-clock time, 100 ns since 1601, local time base
    bool trusted;       // may set the clock; fixed when the record is created
    WCHAR name[SourceNameSize];
    WCHAR modulePath[ModulePathSize];  // the announcing host's executable, or UnknownModulePath
    // The samples behind `tick` and `fileTime`, which show what the source announced last.
    SampleAcceptance acceptance;
};

// The announcement window's handle as an unsigned number, so the table is ordered by it; 0 (the
// null handle) holds the broadcast record, which therefore always comes first. 64 bits on every
// build: a host may tell windows of different sessions apart in the bits above a handle's.
typedef uint64_t SourceKey;
typedef std::map<SourceKey, SourceRecord> SourceTable;

constexpr SourceKey BroadcastKey = 0;

inline SourceKey KeyOf(HWND window)
{
    return reinterpret_cast<uintptr_t>(window);
}

inline HWND WindowOf(SourceKey key)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(key));
}

extern const WCHAR UnknownModulePath[];  // "<Unknown>"

void MarkModuleUnknown(SourceRecord& record);

// Copies at most SourceNameSize - 1 units of `name`, stopping at a NUL or after `length`.
void CopySourceName(SourceRecord& record, const WCHAR* name, DWORD length);

// Stores the broadcast of `seconds` since 1970-01-01 (announced local time base), received at
// `nowTick`, as the never-trusted record under the null handle, named after the running count
// of broadcasts, which it then increments.
void StoreBroadcast(SourceTable& table, int32_t& broadcastCount, int32_t seconds, DWORD nowTick);
