// The file that the driver plays while the tuner is open: its handle, the chunk buffer, the
// schedule of its broadcast pace and the pacer. Not thread-safe: the driver serialises calls.
#pragma once

#include "chunk_pacer.h"
#include "tsfile_settings.h"

class TsFilePlayer {
public:
    TsFilePlayer() = default;
    ~TsFilePlayer() { Close(); }
    TsFilePlayer(const TsFilePlayer&) = delete;
    TsFilePlayer& operator=(const TsFilePlayer&) = delete;

    // Opens settings.File, scans it for its schedule (real-time pace only) and starts at its
    // first byte. False when the file cannot be opened or read, is empty, or memory runs out.
    bool Open(const TsFileSettings& settings, DWORD nowTick);
    void Close();
    // Open and not ended.
    bool Playing() const { return Buffer != nullptr && !Pacer.Ended(); }
    void Restart(DWORD nowTick) { Pacer.Restart(nowTick); }

    // The player's own buffer, which holds ChunkBytes bytes; null while closed.
    BYTE* OwnBuffer() const { return Buffer; }
    // Milliseconds until the next chunk is due; 0 or less when it is due now.
    int32_t MsUntilDue(DWORD nowTick) const { return Pacer.MsUntilDue(nowTick); }
    // Reads the next chunk into `destination` if it is due; `size` is 0 when none is. False
    // when not playing or the file cannot be read.
    bool TakeChunk(DWORD nowTick, BYTE* destination, DWORD& size);
    // Chunks due at `nowTick`, not counting one just taken; at most ChunkPacer::ReadyLimit.
    DWORD ReadyCount(DWORD nowTick) const { return Pacer.ReadyCount(nowTick); }

private:
    bool Scan(DWORD bufferBytes);

    HANDLE File = INVALID_HANDLE_VALUE;
    BYTE* Buffer = nullptr;
    uint64_t FileSize = 0;
    PlaySchedule Schedule;
    ChunkPacer Pacer;
};
