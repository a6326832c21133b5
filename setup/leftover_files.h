// What an interrupted QuellapSetup leaves in a folder: its own temporary files, named
// ~QuellapSetup-<8 hexadecimal digits>.tmp so that no other program's file passes for one. The
// next run that changes files in the folder removes them; status names them.
#pragma once

#include "file_store.h"
#include "setup_report.h"

std::wstring TemporaryFileName(uint32_t number);
bool IsTemporaryFileName(const std::wstring& name);

// A report for each temporary file in `folder`, which is removed first when `remove`.
void ReportLeftovers(FileStore& store, const std::wstring& folder, bool remove,
                     std::vector<FileReport>& reports);
