// Gathering the announcement windows of every desktop of every window station that this
// process can open, with their texts, for the service's snapshot scan.
#pragma once

#include <windows.h>

#include "desktop_snapshot.h"

// Every window station, or the process's own only (so that a test can keep the service from
// seeing what only a relay should report: Wine has no sessions to keep them apart).
enum class StationScope { Every, Own };

// Replaces `windows` with what every desktop holds now; window stations and desktops come and
// go, so they are found afresh each time. Those that cannot be opened are passed over. The
// calling thread must own no window. False when `stop` was set meanwhile (the gathering is
// then cut short).
bool GatherAllDesktops(std::vector<AnnouncerSnapshot>& windows, StationScope scope, HANDLE stop);

// Appends the announcement windows of the calling thread's desktop; false when `stop` (which
// may be NULL) was set meanwhile.
bool GatherThisDesktop(std::vector<AnnouncerSnapshot>& windows, HANDLE stop);
