// A crash ends the process by none of the ways out that hand the clock back.
#pragma once

#include "watch_engine.h"

// Makes an unhandled exception, and an uncaught C++ exception that ends in std::terminate,
// hand the clock back while `engine` adjusts it, then pass on to whoever handled them before.
// Neither runs for a fail-fast exit, a direct abort or a crash under a debugger: the hand-back
// of a leftover slew at the next start covers those.
void HandBackClockOnCrash(WatchEngine& engine);
