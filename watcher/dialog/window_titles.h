// The main window's titles: the program's name, the two of clock-setting mode, and clock-setting
// mode left to the running service.
#pragma once

#include "win32_types.h"

inline constexpr WCHAR MainTitle[] = L"Horavant";
inline constexpr WCHAR ClockIdleTitle[] = L"Horavant (時計合わせモード)";     // clock-setting mode
inline constexpr WCHAR ClockAdjustingTitle[] = L"Horavant (時計合わせ中)";  // setting the clock
inline constexpr WCHAR ServiceClockTitle[] = L"Horavant (時計合わせはサービスが担当)";
