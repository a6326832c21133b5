#include "source_list.h"

#include "source_line.h"

void RefreshList(HWND list, const WatchEngine& engine)
{
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    ClockPlatform& clock = engine.ClockCalls();
    const DWORD nowTick = clock.TickCount();
    FILETIME now{};
    clock.LocalFileTime(now);
    for (const auto& entry : engine.Sources()) {
        WCHAR line[SourceLineSize];
        FormatSourceLine(static_cast<uint32_t>(entry.first), entry.second, nowTick, now, line);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    // The selection follows the position, not the source; past the end nothing is selected.
    SendMessageW(list, LB_SETCURSEL, selected, 0);
}
