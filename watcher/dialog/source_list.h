// The main window's list of sources, rebuilt from the engine's source table.
#pragma once

#include <windows.h>

#include "watch_engine.h"

// Rebuilds the list box (which sorts its lines) with one line per source, taking "now" once
// for the whole pass, and selects the previously selected index again.
void RefreshList(HWND list, const WatchEngine& engine);
