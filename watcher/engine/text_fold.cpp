#include "text_fold.h"

WCHAR FoldCase(WCHAR c)
{
    const unsigned u = static_cast<unsigned>(c);
    if (u >= 'a' && u <= 'z') return static_cast<WCHAR>(u - 0x20);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<WCHAR>(u - 0x20);  // Latin-1
    if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) return static_cast<WCHAR>(u - 0x20);  // Greek
    if (u >= 0x430 && u <= 0x44F) return static_cast<WCHAR>(u - 0x20);  // Cyrillic
    if (u >= 0x450 && u <= 0x45F) return static_cast<WCHAR>(u - 0x50);  // Cyrillic Ѐ-Џ
    if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<WCHAR>(u - 0x20);  // full-width Latin
    return c;
}

bool EqualNoCase(const WCHAR* a, const WCHAR* b)
{
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (FoldCase(*a) != FoldCase(*b)) return false;
    }
    return *a == *b;
}

static bool StartsWithNoCase(const WCHAR* text, const WCHAR* prefix)
{
    for (; *prefix != 0; ++text, ++prefix) {
        if (*text == 0 || FoldCase(*text) != FoldCase(*prefix)) return false;
    }
    return true;
}

bool ContainsNoCase(const WCHAR* text, const WCHAR* pattern)
{
    for (;; ++text) {
        if (StartsWithNoCase(text, pattern)) return true;
        if (*text == 0) return false;
    }
}
