// Formatted output straight to the standard handles: unbuffered, so that a script reading a pipe
// sees each line when it is printed, and with "\n" line ends as given.
#pragma once

#include <windows.h>

void Print(const char* format, ...);       // standard output
void PrintError(const char* format, ...);  // standard error

// `text` in UTF-8, cut to 1039 bytes; valid until the next call.
const char* Utf8(const WCHAR* text);
