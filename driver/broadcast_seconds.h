// The time carried by the announcement broadcast: seconds since 1970-01-01 00:00:00 on the
// broadcast's own (unconverted) time scale, as a signed 32-bit value.
#pragma once

#include "win32_types.h"

#include <stdint.h>

// Exact from 1901-12-13 20:45:52 to 2038-01-19 03:14:07; other times wrap in the 32 bits.
int32_t BroadcastSeconds(const FILETIME& fileTime);
