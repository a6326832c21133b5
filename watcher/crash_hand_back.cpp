#include "crash_hand_back.h"

#include <stdlib.h>

#include <exception>

namespace {

WatchEngine* CrashingEngine;
LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter;
std::terminate_handler PreviousTerminate;

// Whoever handled crashes before (the system's error report, by default) still does.
LONG WINAPI HandBackOnCrash(EXCEPTION_POINTERS* exception)
{
    CrashingEngine->RestoreClockAtExit();
    return PreviousCrashFilter ? PreviousCrashFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// An uncaught C++ exception (out of memory in the source table) aborts without passing the
// filter above.
void HandBackOnTerminate()
{
    CrashingEngine->RestoreClockAtExit();
    if (PreviousTerminate) PreviousTerminate();
    abort();
}

}  // namespace

void HandBackClockOnCrash(WatchEngine& engine)
{
    CrashingEngine = &engine;
    PreviousCrashFilter = SetUnhandledExceptionFilter(HandBackOnCrash);
    PreviousTerminate = std::set_terminate(HandBackOnTerminate);
}
