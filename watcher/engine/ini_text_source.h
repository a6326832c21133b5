// A SettingsSource over INI text held in memory, read the way the Windows private-profile
// functions read a file:
// - a line ends at CR or LF, so CR LF, LF and CR alone all end lines;
// - section and key names compare without regard to letter case, blanks around them ignored;
// - only the first section of a name is searched, and the first matching key in it wins;
// - lines starting with ';' are comments, lines without '=' carry no key, there are no inline
//   comments;
// - a value loses its surrounding blanks, then one pair of matching surrounding quotes
//   (" or '), then is cut to the caller's capacity - 1 (Wine alone drops one more unit when
//   a quoted value exactly fills the buffer; that quirk is not copied);
// - integers as the platform reads them under Wine: an empty value gives the default; else the
//   first 29 characters, leading blanks skipped, an optional sign, then decimal digits or a
//   "0x" (hex), "0o" (octal) or "0b" (binary) number, up to the first other character, modulo 2^32.
// Decoding the file's bytes into text is the caller's business.
#pragma once

#include <string>

#include "watch_settings.h"

class IniTextSource : public SettingsSource {
public:
    explicit IniTextSource(std::wstring text);

    int32_t ReadInt(const WCHAR* section, const WCHAR* key, int32_t defaultValue) const override;
    DWORD ReadString(const WCHAR* section, const WCHAR* key, const WCHAR* defaultValue,
                     WCHAR* buffer, DWORD capacity) const override;

private:
    // The key's value with blanks and quotes removed; false when the key is missing.
    bool FindValue(const WCHAR* section, const WCHAR* key, std::wstring* value) const;

    std::wstring Text;
};
