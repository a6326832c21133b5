// One line of the main window's list: a source's key, age, estimated current broadcast time,
// offset from the local clock, trust mark, name and host path. Up to the name every line has
// its columns at the same positions, so the list reads as a table in a fixed-pitch font.
#pragma once

#include <stdint.h>

#include "source_table.h"

constexpr uint32_t ShownLimit = 99999;       // largest age and offset magnitude shown, ms
constexpr DWORD ShownModulePathLength = 260;  // units of the host path shown

// "kkkkkkkk aaaaa YYYY-MM-DDThh:mm:ss ±ooooo *name path\n" and the terminator; the year can
// have five digits.
constexpr DWORD SourceLineSize =
    8 + 1 + 5 + 1 + 20 + 1 + 6 + 1 + 1 + (SourceNameSize - 1) + 1 + ShownModulePathLength + 2;

// The line of the entry under `key` (the announcement window's handle as an unsigned 32-bit
// number, 0 for the broadcast entry) at the moment `nowTick` (ms) / `now` (local time, 100 ns
// since 1601). Its broadcast time is carried forward by its age; a time that cannot be
// converted shows as zeros.
void FormatSourceLine(uint32_t key, const SourceRecord& record, DWORD nowTick,
                      const FILETIME& now, WCHAR (&line)[SourceLineSize]);
