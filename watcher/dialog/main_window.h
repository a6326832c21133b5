// The watcher's only window: a modal dialog that runs the scan and the clock discipline on its
// timers, lists every source, takes the wrapper's broadcasts and can hide behind a
// notification-area icon.
#pragma once

#include <windows.h>

#include "resource.h"
#include "watch_engine.h"
#include "window_titles.h"

constexpr UINT WM_APP_REFRESH = WM_APP;    // rebuild the list from the source table
constexpr UINT WM_APP_TRAY = WM_APP + 2;   // wParam non-zero: to the notification area; 0: back
constexpr UINT_PTR TIMER_SCAN = 1;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the main window on `engine` until the user closes it; `serviceSetsClock`: clock-setting
// mode was asked for, but the running service sets the clock, as the title says. A dialog that
// cannot be created returns at once.
void RunMainWindow(HINSTANCE instance, WatchEngine& engine, bool serviceSetsClock);
