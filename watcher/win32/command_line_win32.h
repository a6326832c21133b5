// What the program was started with, and a word to whoever started it by hand: a program of
// the GUI subsystem has no console of its own.
#pragma once

#include <windows.h>

// True for a command line that is exactly the program and `option`.
bool IsSoleOption(const WCHAR* commandLine, const WCHAR* option);

// Writes `text` to the standard error the program was given, or else to its parent's console.
void SayToStarter(const char* text);
