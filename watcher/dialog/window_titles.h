// The main window's titles: the program's name, and the two of clock-setting mode.
#pragma once

#include "win32_types.h"

inline constexpr WCHAR MainTitle[] = L"Horavant";
inline constexpr WCHAR ClockIdleTitle[] = L"Horavant (時計合わせモード)";     // clock-setting mode
inline constexpr WCHAR ClockAdjustingTitle[] = L"Horavant (時計合わせ中)";  // setting the clock
