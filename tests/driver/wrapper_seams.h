// Seams in a loaded wrapper's own imports, for driving the announcement thread through exact
// interleavings: the wrapper's waits are counted and, when asked, its bounded waits expire at
// once; one call of the notification thread can be held until the test lets it go on.
#pragma once

#include <windows.h>

// Patches the wrapper's imports of the calls below, which pass straight on until asked
// otherwise. Done before CreateBonDriver: code may keep an import's address while it runs.
void InstallWrapperSeams(HMODULE wrapper);

// From now on every wait with a limit other than 0 that the calling thread makes inside the
// wrapper (WaitForSingleObject, WaitForMultipleObjects) is counted.
void WatchWrapperWaits();
// Waits with a limit other than 0 made on the watching thread since WatchWrapperWaits.
LONG BlockingWaitsSeen();
// The limit of the wrapper's latest wait on any thread.
DWORD LatestWaitLimit();
// From now on (`on`), a wait with a finite limit other than 0 returns WAIT_TIMEOUT at once, as
// if that long had passed. Every wait with a limit other than 0 sets `waiting` (may be null).
void ExpireBoundedWaits(bool on, HANDLE waiting);

enum HeldCall { HoldPostQuitMessage, HoldCreateWindow };
// The wrapper's next call of `call` sets `held` and then waits for `goOn` (at most 30 s) before
// it is made.
void HoldNextCall(HeldCall call, HANDLE held, HANDLE goOn);
