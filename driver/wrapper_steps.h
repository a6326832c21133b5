// What the three wrapper classes do alike beyond plain forwarding: feeding the analyser from
// both GetTsStream overloads, and the release.
#pragma once

#include "bon_driver.h"
#include "announcer.h"

// Set by DllMain while it releases a wrapper that the host left behind when it unloaded the
// library.
extern bool UnloadingLibrary;

// The steps of Release that the three classes share, up to freeing the wrapper itself. False
// when the announcement thread could not be stopped in time: the wrapper (and its analyser,
// which that thread may still use) must then stay allocated, and the library stays loaded.
bool ReleaseWrapped(IBonDriver** liveWrapperSlot, IBonDriver* driver, HMODULE module,
                    CTsAnalyzer& analyzer);

// Position 6: the analyser reads the chunk at the pointer the driver stored.
inline BOOL ForwardGetTsStream(IBonDriver* driver, CTsAnalyzer& analyzer, BYTE** data,
                               DWORD* size, DWORD* remain) {
    const BOOL result = driver->GetTsStream(data, size, remain);
    if (result && data && *data && size)
        analyzer.OnGetTsStream(*data, *size);
    return result;
}

// Position 7: the analyser reads the caller's own buffer.
inline BOOL ForwardGetTsStream(IBonDriver* driver, CTsAnalyzer& analyzer, BYTE* buffer,
                               DWORD* size, DWORD* remain) {
    const BOOL result = driver->GetTsStream(buffer, size, remain);
    if (result && buffer && size)
        analyzer.OnGetTsStream(buffer, *size);
    return result;
}
