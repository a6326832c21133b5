// Replaces one imported function of a loaded module by rewriting its import address table, so
// that a test can make a call inside the code under test fail (here: the wrapper's malloc).
#pragma once

#include <windows.h>

// Points `module`'s import of `function` from `dll` at `replacement`; returns what it pointed
// at before, or null when the module has no such import.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
