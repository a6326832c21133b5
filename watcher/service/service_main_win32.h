// Horavant.exe --service: the own-process service "Horavant" under the service control
// manager. No window and no message box: what it did goes to the Application log.
#pragma once

#include <windows.h>

#include "desktop_snapshot.h"
#include "watch_engine.h"

// Exit code of the program started with --service by hand, not by the service control manager.
constexpr int NotStartedAsService = 2;

// Runs the service on `engine`, which scans through `desktops`, until the service control
// manager stops it, and returns 0. Started by hand the program says that it is meant for the
// service control manager (on its parent's console, if any) and returns NotStartedAsService.
int RunHoravantService(WatchEngine& engine, SnapshotScanPlatform& desktops);
