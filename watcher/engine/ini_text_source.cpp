#include "ini_text_source.h"

#include <string_view>
#include <utility>

#include "blank_chars.h"
#include "text_fold.h"

namespace {

constexpr size_t IntValueLength = 29;  // the platform reads integers through a 30-unit buffer

// The profile reader also drops the end-of-file mark (Ctrl+Z) that old editors leave.
bool IsProfileBlank(WCHAR c)
{
    return IsBlank(c) || c == 0x1A;
}

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool NameIs(std::wstring_view name, const WCHAR* wanted)
{
    return EqualNoCase(std::wstring(name).c_str(), wanted);
}

std::wstring_view StripQuotes(std::wstring_view value)
{
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Splits "[name]" into the trimmed name; false for any other line.
bool SectionName(std::wstring_view line, std::wstring_view* name)
{
    if (line.empty() || line.front() != L'[') return false;
    const size_t close = line.find(L']');
    if (close == std::wstring_view::npos) return false;
    *name = Trim(line.substr(1, close - 1));
    return true;
}

int DigitIn(WCHAR c, unsigned base)
{
    unsigned digit = base;
    if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
    else if (c >= L'a' && c <= L'z') digit = static_cast<unsigned>(c - L'a') + 10;
    else if (c >= L'A' && c <= L'Z') digit = static_cast<unsigned>(c - L'A') + 10;
    return digit < base ? static_cast<int>(digit) : -1;
}

unsigned NumberBase(std::wstring_view& s)
{
    if (s.size() >= 2 && s[0] == L'0') {
        switch (s[1]) {
        case L'x': case L'X': s.remove_prefix(2); return 16;
        case L'o': case L'O': s.remove_prefix(2); return 8;
        case L'b': case L'B': s.remove_prefix(2); return 2;
        default: break;
        }
    }
    return 10;
}

int32_t ParseProfileInt(std::wstring_view s)
{
    s = s.substr(0, IntValueLength);
    while (!s.empty() && s.front() <= L' ') s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == L'-' || s.front() == L'+')) {
        negative = s.front() == L'-';
        s.remove_prefix(1);
    }
    const unsigned base = NumberBase(s);
    uint32_t value = 0;
    for (WCHAR c : s) {
        const int digit = DigitIn(c, base);
        if (digit < 0) break;
        value = value * base + static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(negative ? 0 - value : value);
}

}  // namespace

IniTextSource::IniTextSource(std::wstring text) : Text(std::move(text)) {}

bool IniTextSource::FindValue(const WCHAR* section, const WCHAR* key, std::wstring* value) const
{
    std::wstring_view rest(Text);
    bool inSection = false;
    while (!rest.empty()) {
        const size_t lineEnd = rest.find_first_of(L"\r\n");
        const std::wstring_view line = Trim(rest.substr(0, lineEnd));
        rest.remove_prefix(lineEnd == std::wstring_view::npos ? rest.size() : lineEnd + 1);

        std::wstring_view name;
        if (SectionName(line, &name)) {
            if (inSection) return false;  // only the first section of the name counts
            inSection = NameIs(name, section);
            continue;
        }
        const size_t equals = line.find(L'=');
        if (!inSection || equals == std::wstring_view::npos || line.front() == L';') continue;
        if (NameIs(Trim(line.substr(0, equals)), key)) {
            *value = StripQuotes(Trim(line.substr(equals + 1)));
            return true;
        }
    }
    return false;
}

int32_t IniTextSource::ReadInt(const WCHAR* section, const WCHAR* key, int32_t defaultValue) const
{
    std::wstring value;
    if (!FindValue(section, key, &value) || value.empty()) return defaultValue;
    return ParseProfileInt(value);
}

DWORD IniTextSource::ReadString(const WCHAR* section, const WCHAR* key, const WCHAR* defaultValue,
                                WCHAR* buffer, DWORD capacity) const
{
    if (capacity == 0) return 0;
    std::wstring value;
    if (!FindValue(section, key, &value)) value = defaultValue;
    const DWORD length = value.size() < capacity ? static_cast<DWORD>(value.size()) : capacity - 1;
    value.copy(buffer, length);
    buffer[length] = 0;
    return length;
}
