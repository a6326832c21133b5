// Number reading with the rules of the shell's StrToIntW and StrToInt64ExW, over a bounded text.
//
// Settled choices where the platform's functions are loosely documented: blanks are the ASCII
// white-space characters; digits are ASCII only; a sign is taken once; a hexadecimal number
// ("0x" or "0X" and at least one hex digit) ignores a sign before it; values wrap modulo 2^64.
// Reading stops at the first character that cannot continue the number, at a NUL, or at `end`.
#pragma once

#include <stdint.h>

#include "win32_types.h"

// StrToInt64ExW: leading blanks, an optional sign, then decimal digits (or, with `allowHex`,
// a "0x" number). False when no digit follows.
bool ReadShellInt64(const WCHAR* text, const WCHAR* end, bool allowHex, int64_t* value);

// StrToIntW: a decimal number only when the text starts with '-' or a digit (no blanks, no
// '+'), its low 32 bits; 0 otherwise.
int32_t ReadShellInt(const WCHAR* text, const WCHAR* end);
