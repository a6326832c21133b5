// Whether a newly found source may set the clock.
#pragma once

#include "watch_settings.h"

// Untrusted when ":name:" occurs in Exclude (any letter case); otherwise trusted when
// `modulePath` equals an entry of Trusted (any letter case).
bool DecideTrust(const WCHAR* name, const WCHAR* modulePath, const WatchSettings& settings);
