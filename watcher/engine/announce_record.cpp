#include "announce_record.h"

#include <stdint.h>

#include "announce_text.h"
#include "shell_numbers.h"

namespace {

const WCHAR RecordPrefix[] = L"QUELLAP ";
constexpr DWORD PrefixLength = 8;
constexpr DWORD NumberPosition = AnnounceKindPos + 1;
constexpr DWORD FieldsPosition = AnnounceTickPos;
// The three numbers come before any name.
constexpr int32_t FirstNameOffset = AnnounceTimeNamePos - AnnounceTickPos;

bool HasPrefix(const WCHAR* text)
{
    for (DWORD i = 0; i < PrefixLength; ++i) {
        if (text[i] != RecordPrefix[i]) return false;
    }
    return true;
}

bool ReadField(const WCHAR* text, const WCHAR* end, DWORD position, DWORD* value)
{
    int64_t number = 0;
    if (!ReadShellInt64(text + position, end, true, &number)) return false;
    *value = static_cast<DWORD>(static_cast<uint64_t>(number));
    return true;
}

}  // namespace

bool ParseAnnounceText(const WCHAR* text, DWORD length, AnnounceRecord* record)
{
    *record = AnnounceRecord{};
    DWORD terminated = 0;
    while (terminated < length && text[terminated] != 0) ++terminated;
    length = terminated;
    // The prefix is compared exactly: another letter case is another protocol.
    if (length < FieldsPosition || !HasPrefix(text)) return false;

    const WCHAR* end = text + length;
    const WCHAR kind = text[AnnounceKindPos];
    if (kind == L'N') {
        record->kind = AnnounceKind::NoTime;
        return true;
    }
    if (kind != L'Y') return false;

    // The number is the name's distance from the fields; it must leave room for the three
    // numbers and point inside the text.
    const int32_t nameOffset = ReadShellInt(text + NumberPosition, end);
    if (nameOffset < FirstNameOffset ||
        static_cast<int64_t>(nameOffset) > static_cast<int64_t>(length - FieldsPosition)) {
        return false;
    }
    AnnounceRecord parsed{};
    parsed.kind = AnnounceKind::Time;
    if (!ReadField(text, end, AnnounceTickPos, &parsed.tick) ||
        !ReadField(text, end, AnnounceFileTimeLowPos, &parsed.fileTime.dwLowDateTime) ||
        !ReadField(text, end, AnnounceFileTimeHighPos, &parsed.fileTime.dwHighDateTime)) {
        return false;
    }
    parsed.name = text + FieldsPosition + nameOffset;
    parsed.nameLength = length - FieldsPosition - static_cast<DWORD>(nameOffset);
    *record = parsed;
    return true;
}
