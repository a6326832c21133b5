// Case-insensitive text comparison for names and paths.
//
// Folding is ordinal and per code unit: ASCII letters, the Latin-1 letters, basic Greek and
// Cyrillic, and the full-width Latin letters fold to upper case; everything else compares as
// is. So the result is the same in every build and never depends on a locale.
#pragma once

#include "win32_types.h"

WCHAR FoldCase(WCHAR c);

// True when both NUL-terminated texts are equal apart from letter case.
bool EqualNoCase(const WCHAR* a, const WCHAR* b);

// True when `pattern` occurs in `text` apart from letter case; an empty pattern always occurs.
bool ContainsNoCase(const WCHAR* text, const WCHAR* pattern);
