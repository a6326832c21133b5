#include "shell_numbers.h"

#include "blank_chars.h"

static int DigitValue(WCHAR c, unsigned base)
{
    unsigned value = base;
    if (c >= L'0' && c <= L'9') value = static_cast<unsigned>(c - L'0');
    else if (c >= L'a' && c <= L'f') value = static_cast<unsigned>(c - L'a') + 10;
    else if (c >= L'A' && c <= L'F') value = static_cast<unsigned>(c - L'A') + 10;
    return value < base ? static_cast<int>(value) : -1;
}

static bool At(const WCHAR* p, const WCHAR* end, WCHAR c)
{
    return p < end && *p == c;
}

// Reads digits of `base` from *p on; false when there is none.
static bool ReadDigits(const WCHAR*& p, const WCHAR* end, unsigned base, uint64_t* value)
{
    uint64_t result = 0;
    const WCHAR* start = p;
    for (; p < end && DigitValue(*p, base) >= 0; ++p) {
        result = result * base + static_cast<unsigned>(DigitValue(*p, base));
    }
    *value = result;
    return p != start;
}

bool ReadShellInt64(const WCHAR* text, const WCHAR* end, bool allowHex, int64_t* value)
{
    const WCHAR* p = text;
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (At(p, end, L'-') || At(p, end, L'+')) {
        negative = *p == L'-';
        ++p;
    }
    uint64_t magnitude = 0;
    if (allowHex && At(p, end, L'0') && (At(p + 1, end, L'x') || At(p + 1, end, L'X'))) {
        p += 2;
        if (!ReadDigits(p, end, 16, &magnitude)) return false;
        *value = static_cast<int64_t>(magnitude);
        return true;
    }
    if (!ReadDigits(p, end, 10, &magnitude)) return false;
    *value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

int32_t ReadShellInt(const WCHAR* text, const WCHAR* end)
{
    if (!(At(text, end, L'-') || (text < end && DigitValue(*text, 10) >= 0))) return 0;
    int64_t value = 0;
    if (!ReadShellInt64(text, end, false, &value)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}
