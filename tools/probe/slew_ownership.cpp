#include "slew_ownership.h"

SetOutcome SlewOwnership::Set(uint32_t adjustment, uint32_t& error)
{
    std::lock_guard<std::mutex> hold(Lock);
    error = 0;
    if (Closed) return SetOutcome::Stopped;
    error = Clock.SetAdjustment(adjustment, false);
    // A failed call leaves the adjustment as it was.
    if (error != 0) return SetOutcome::Failed;
    IsSet = true;
    return SetOutcome::Done;
}

HandBackOutcome SlewOwnership::HandBack(uint32_t& error)
{
    std::lock_guard<std::mutex> hold(Lock);
    if (!Closed && IsSet) {
        Error = Clock.SetAdjustment(0, true);
        Outcome = Error == 0 ? HandBackOutcome::Done : HandBackOutcome::Failed;
    }
    Closed = true;
    error = Error;
    return Outcome;
}
