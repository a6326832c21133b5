// Reading the watcher's main window from another process, the way a user sees it: its title,
// the lines of its source list and the selection.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The first visible or hidden top-level dialog titled "Horavant..." that has the source list;
// of the process `processId`, or of any process when it is 0. Null when there is none.
HWND FindWatcherWindow(DWORD processId = 0);

std::wstring WindowTitle(HWND window);

// The list's lines in their order, each with the line feed it ends with.
std::vector<std::wstring> ListLines(HWND dialog);

// The list's selected index, or -1.
int SelectedLine(HWND dialog);

// Text in UTF-8, for consoles, pipes and files alike.
std::string Utf8(const std::wstring& text);
