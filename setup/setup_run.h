// One run of QuellapSetup over its path arguments: each argument becomes the drivers it names
// (a file, a renamed driver's file, or every driver of a folder), each driver one report.
#pragma once

#include "package_wrappers.h"
#include "setup_report.h"

enum class Verb {
    Status,
    Wrap,
    Unwrap,
    Update,
    Dropped,  // paths without a verb, as Explorer passes files dropped on the program
};

std::vector<FileReport> RunVerb(FileStore& store, Verb verb, const PackageWrappers& package,
                                const std::vector<std::wstring>& paths);

// 0 when every report is a success or a finding, 1 when one was refused or failed.
int ExitCodeOf(const std::vector<FileReport>& reports);
