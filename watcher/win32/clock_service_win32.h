// Whether the watcher's service runs: it then sets the clock, and a dialog must not slew
// against it.
#pragma once

bool ClockServiceRunning();
