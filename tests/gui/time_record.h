// Announcement texts for crafted announcers, stamped now.
#pragma once

#include <stdint.h>

#include <string>

// A time record of the source `name` whose clock is `offsetMsec` ahead of the local one.
std::wstring TimeRecord(int64_t offsetMsec, const wchar_t* name);
