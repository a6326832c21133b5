// Whether a program may become the watcher's service, which runs it as SYSTEM: a Windows
// program where nobody but administrators could change it, its settings file or any folder on
// the way to it (a user who could would get SYSTEM, or name the trusted hosts and so the clock).
#pragma once

#include "file_store.h"
#include "service_platform.h"
#include "setup_report.h"

// `program` becomes the path to register (where the file really lies); false with `refusal`
// when it may not be registered.
bool CheckServiceProgram(FileStore& store, ServicePlatform& platform, const std::wstring& argument,
                         std::wstring& program, ReportLine& refusal);
