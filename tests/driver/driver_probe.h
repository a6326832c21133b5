// How a test program steers the test driver and sees what it was asked: the program exports a
// TestDriverProbe named QuellapTestProbe, and the driver finds it through the main module.
#pragma once

#include <windows.h>

enum : int { NoPosition = -1 };

struct TestDriverProbe {
    // Set by the program.
    int level;                  // 1, 2 or 3: the interface level of the factory's object
    bool factoryReturnsNull;
    HMODULE failAllocationsOf;  // the factory makes this module's malloc fail until Release
    BOOL tsStreamResult;        // what both GetTsStream positions return
    DWORD remainValue;          // what they store through the remaining-count argument
    const BYTE* stream;         // served in chunks of chunkSize, from streamOffset, wrapping
    DWORD streamSize;
    DWORD chunkSize;
    DWORD streamOffset;

    // Kept by the driver.
    LONG attachCount;           // process attaches of the driver module
    LONG detachCount;
    LONG factoryCalls;
    LONG releaseCalls;
    int lastPosition;           // the position last called, or NoPosition
    UINT_PTR lastArgs[3];
    UINT_PTR lastResult;        // integer and pointer results; the signal level by its bits
    const BYTE* lastServed;     // where the last chunk was delivered, and its size
    DWORD lastServedSize;
};

// The program's probe, or null when the process has none.
inline TestDriverProbe* FindTestDriverProbe() {
    return reinterpret_cast<TestDriverProbe*>(
        GetProcAddress(GetModuleHandleW(nullptr), "QuellapTestProbe"));
}

// What the test driver returns at each integer-valued position: distinct and never 0 or 1.
inline UINT_PTR TestDriverResult(int position) { return 0xB0D00 + UINT_PTR(position); }
const float TestDriverSignalLevel = 42.625f;
