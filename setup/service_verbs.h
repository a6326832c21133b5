// QuellapSetup's service verbs: the watcher registered as the service Horavant (with its event
// source), reported, and removed, each all or nothing.
#pragma once

#include "file_store.h"
#include "service_platform.h"
#include "setup_report.h"

enum class ServiceVerb { None, Install, Status, Uninstall };

// The package's watcher of the machine's own bitness, in `packageFolder`.
std::wstring PackageWatcherPath(const std::wstring& packageFolder, bool windows64);

// `program` names the watcher to install (Install only), `description` is the service's, in
// the run's language. Status gives the service's line, then one per recent event.
std::vector<FileReport> RunServiceVerb(FileStore& store, ServicePlatform& platform,
                                       ServiceVerb verb, const std::wstring& program,
                                       const std::wstring& description);
