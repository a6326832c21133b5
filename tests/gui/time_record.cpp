#include "time_record.h"

#include <windows.h>

#include "announce_text.h"

std::wstring TimeRecord(int64_t offsetMsec, const wchar_t* name)
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME now;
    SystemTimeToFileTime(&local, &now);
    const uint64_t time =
        (static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) + offsetMsec * 10000;
    WCHAR text[AnnounceTextCapacity];
    FormatAnnounceTimeRecord(text, GetTickCount(), static_cast<uint32_t>(time),
                             static_cast<uint32_t>(time >> 32), name);
    return text;
}
