#include "watcher_state.h"

WatchSettings Settings;
SourceTable Sources;
int32_t BroadcastCount;
bool IsAdjusting;
