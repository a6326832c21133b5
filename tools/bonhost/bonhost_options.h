// bonhost's command line.
#pragma once

#include <windows.h>

struct BonhostOptions {
    enum : DWORD { DefaultSeconds = 10, MaxSeconds = 86400 };

    const WCHAR* DriverPath = nullptr;
    DWORD Seconds = DefaultSeconds;  // how long to pull
    bool HasChannel = false;         // SetChannel(Space, Channel) after OpenTuner
    DWORD Space = 0;
    DWORD Channel = 0;
    bool CopyOverload = false;  // GetTsStream(BYTE*) into bonhost's buffer, not GetTsStream(BYTE**)
    bool UntilFalse = false;    // stop at the first FALSE from GetTsStream
    const WCHAR* SavePath = nullptr;  // where every received byte goes; null: nowhere
};

enum class ParseResult { Run, Help, Bad };

// Fills `options` from the arguments after the program name (`argv` stays referenced).
ParseResult ParseOptions(int argc, WCHAR** argv, BonhostOptions& options);

extern const char BonhostUsage[];
