// The file driver's settings: an INI file named after the driver's own module file with the
// extension replaced by ".ini" (behind the wrapper, "X_Quellapped.dl_" reads "X_Quellapped.ini"),
// section [TsFile]. Numbers outside their range, and missing keys, take the default.
#pragma once

#include <windows.h>

struct TsFileSettings {
    enum : DWORD {
        DefaultChunkBytes = 48128,  // 256 packets of 188 bytes
        MinChunkBytes = 188,
        MaxChunkBytes = 1048576,
        DefaultBytesPerSecond = 2000000,  // 16 Mbit/s, a terrestrial multiplex
        MinBytesPerSecond = 188,
        MaxBytesPerSecond = 100000000,
    };

    WCHAR File[MAX_PATH] = {};  // full path of the stream; empty when missing or too long
    bool Fast = false;          // Pace=Fast: as fast as the host pulls; otherwise real time
    bool Loop = true;           // start over at the end, as a tuner never ends
    DWORD ChunkBytes = DefaultChunkBytes;          // bytes per GetTsStream at most
    DWORD BytesPerSecond = DefaultBytesPerSecond;  // real-time pace without usable time points
};

// Reads the settings of the driver in `module` over the defaults; a relative File is taken
// from the module's folder. When the settings file's path cannot be formed, File stays empty.
void ReadTsFileSettings(HMODULE module, TsFileSettings& settings);
