// The text of an announcement window, laid out character by character so that readers can take
// every field from a fixed position:
//   time record     "QUELLAP Y33 0xTTTTTTTT 0xLLLLLLLL 0xHHHHHHHH NAME"
//                   (reception tick in ms, FILETIME low and high half, the source name at 45)
//   no-time record  "QUELLAP N00 NAME"  (the name at 12)
// Every number is "0x" and exactly eight lowercase hex digits. The formatter writes the digits
// itself, so the layout does not depend on any printf family.
#pragma once

#include <stdint.h>

enum : int {
    AnnounceTextCapacity = 192,  // characters, NUL included: the window's record buffer
    AnnounceNameMaxLength = 63,  // a longer name is cut
    AnnounceNumberLength = 10,   // "0x" and eight hex digits
    AnnounceKindPos = 8,         // 'Y' or 'N'
    AnnounceTickPos = 12,
    AnnounceFileTimeLowPos = 23,
    AnnounceFileTimeHighPos = 34,
    AnnounceTimeNamePos = 45,
    AnnounceNoTimeNamePos = 12,
};

// Both write into `text` (AnnounceTextCapacity characters or more), NUL-terminate it and
// return its length: 45 to 108 for a time record, 12 to 75 for a no-time record.
int FormatAnnounceTimeRecord(wchar_t* text, uint32_t tick, uint32_t fileTimeLow,
                             uint32_t fileTimeHigh, const wchar_t* name);
int FormatAnnounceNoTimeRecord(wchar_t* text, const wchar_t* name);
