// The probe's hold on the machine-wide time adjustment. The slew sets it from the main thread;
// Ctrl+C, the console's closing and a crash hand it back from other threads. Once handed back
// it is never set again, so no way out can leave the clock fast or slow.
#pragma once

#include <stdint.h>

#include <mutex>

#include "slew_clock.h"

enum class SetOutcome { Done, Failed, Stopped };
enum class HandBackOutcome { NothingSet, Done, Failed };

class SlewOwnership {
public:
    explicit SlewOwnership(SlewClock& clock) : Clock(clock) {}

    // Sets this probe's adjustment; Stopped once the clock has been handed back. `error` is the
    // system's code when Failed.
    SetOutcome Set(uint32_t adjustment, uint32_t& error);

    // Hands the clock back when this probe's adjustment is set, and refuses every later Set.
    // Later calls report what the first one did.
    HandBackOutcome HandBack(uint32_t& error);

private:
    SlewClock& Clock;
    std::mutex Lock;
    bool IsSet = false;
    bool Closed = false;
    HandBackOutcome Outcome = HandBackOutcome::NothingSet;
    uint32_t Error = 0;
};
