#include "announce_text.h"

namespace {

int PutText(wchar_t* out, const wchar_t* text, int limit) {
    int length = 0;
    for (; length < limit && text[length]; ++length)
        out[length] = text[length];
    return length;
}

// "0x" and eight lowercase digits, leading zeros kept: the field is always ten characters.
int PutHex32(wchar_t* out, uint32_t value) {
    static const wchar_t Digits[] = L"0123456789abcdef";
    out[0] = L'0';
    out[1] = L'x';
    for (int i = 0; i < 8; ++i)
        out[2 + i] = Digits[(value >> (28 - 4 * i)) & 0xF];
    return AnnounceNumberLength;
}

}  // namespace

int FormatAnnounceTimeRecord(wchar_t* text, uint32_t tick, uint32_t fileTimeLow,
                             uint32_t fileTimeHigh, const wchar_t* name) {
    int length = PutText(text, L"QUELLAP Y33 ", AnnounceTickPos);
    length += PutHex32(text + length, tick);
    text[length++] = L' ';
    length += PutHex32(text + length, fileTimeLow);
    text[length++] = L' ';
    length += PutHex32(text + length, fileTimeHigh);
    text[length++] = L' ';
    length += PutText(text + length, name, AnnounceNameMaxLength);
    text[length] = 0;
    return length;
}

int FormatAnnounceNoTimeRecord(wchar_t* text, const wchar_t* name) {
    int length = PutText(text, L"QUELLAP N00 ", AnnounceNoTimeNamePos);
    length += PutText(text + length, name, AnnounceNameMaxLength);
    text[length] = 0;
    return length;
}
