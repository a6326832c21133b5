// QuellapSetup's console: its texts out, the user's language, and Enter in.
#pragma once

#include <windows.h>

#include <string>

// To a console as UTF-16, else (redirected) as UTF-8. `stream` is STD_OUTPUT_HANDLE or
// STD_ERROR_HANDLE.
void WriteText(DWORD stream, const std::wstring& text);

bool UserLanguageIsJapanese();

// True when no other process shares the console: it was made for this program, which Explorer
// started, and it closes when the program ends.
bool ConsoleIsOwn();

// Returns after a line (or the end) of standard input.
void WaitForEnter();
