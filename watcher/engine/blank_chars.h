// The blanks that the platform's number and profile readers skip.
#pragma once

#include "win32_types.h"

// The ASCII white-space characters: space, tab, line feed, vertical tab, form feed, carriage
// return.
inline bool IsBlank(WCHAR c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}
