// The report of a change that failed: why its step failed, in words a user can act on, and
// whether everything was put back.
#pragma once

#include "driver_slot.h"
#include "file_change.h"
#include "setup_report.h"

// Puts back what `change` had done and reports its failed step on the driver of `slot`.
FileReport FailureReport(FileStore& store, const DriverSlot& slot, FileChange& change);

// Whether a program has the file open without sharing it for writing, or has it loaded.
bool IsInUse(FileStore& store, const std::wstring& path);
