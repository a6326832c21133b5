// Test controls of the native stand-ins for GetTickCount and OutputDebugStringW.
#pragma once

#ifndef _WIN32
#include "win32_types.h"

// Makes GetTickCount return ticks starting at `tick` (ms), advancing by `step` per call.
void NativeSetTickCount(DWORD tick, DWORD step);
// Back to the monotonic clock.
void NativeUseRealTickCount();

typedef void (*NativeDebugSink)(void* context, const WCHAR* text);
// Every OutputDebugStringW goes to `sink` (or nowhere when it is null).
void NativeSetDebugSink(NativeDebugSink sink, void* context);
#endif
