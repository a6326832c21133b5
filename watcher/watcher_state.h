// The watcher's program-wide objects: they exist before the main window and live until exit,
// and are touched only by the program's one thread.
#pragma once

#include <stdint.h>

#include "source_table.h"
#include "watch_settings.h"

extern WatchSettings Settings;
extern SourceTable Sources;
extern int32_t BroadcastCount;  // broadcasts received so far
extern bool IsAdjusting;        // this program's own time adjustment is installed
