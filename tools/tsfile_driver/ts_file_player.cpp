#include "ts_file_player.h"

#include "schedule_scan.h"

#include <stdlib.h>

namespace {

const DWORD ScanReadBytes = 65536;  // at least, for the one pass over the file at open

}  // namespace

bool TsFilePlayer::Open(const TsFileSettings& settings, DWORD nowTick) {
    Close();
    File = CreateFileW(settings.File, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER size;
    if (File == INVALID_HANDLE_VALUE || !GetFileSizeEx(File, &size) || size.QuadPart <= 0) {
        Close();
        return false;
    }
    FileSize = uint64_t(size.QuadPart);
    const DWORD bufferBytes = settings.ChunkBytes > ScanReadBytes ? settings.ChunkBytes : ScanReadBytes;
    Buffer = static_cast<BYTE*>(malloc(bufferBytes));
    if (!Buffer || (!settings.Fast && !Scan(bufferBytes))) {
        Close();
        return false;
    }
    Schedule.Finish(FileSize, settings.BytesPerSecond);
    Pacer.Start(settings.Fast ? nullptr : &Schedule, FileSize, settings.ChunkBytes, settings.Loop,
                nowTick);
    return true;
}

bool TsFilePlayer::Scan(DWORD bufferBytes) {
    ScheduleScan scan(Schedule);
    DWORD got = 0;
    uint64_t total = 0;
    while (ReadFile(File, Buffer, bufferBytes, &got, nullptr) && got > 0) {
        scan.Feed(Buffer, got);
        total += got;
    }
    return total == FileSize && scan.Succeeded();
}

void TsFilePlayer::Close() {
    if (File != INVALID_HANDLE_VALUE)
        CloseHandle(File);
    File = INVALID_HANDLE_VALUE;
    free(Buffer);
    Buffer = nullptr;
    Schedule.Clear();
    Pacer = ChunkPacer();
}

bool TsFilePlayer::TakeChunk(DWORD nowTick, BYTE* destination, DWORD& size) {
    size = 0;
    if (!Playing())
        return false;
    if (Pacer.MsUntilDue(nowTick) > 0)
        return true;
    // Read at the chunk's own offset: no file position to keep in step across restarts.
    const uint64_t offset = Pacer.NextOffset();
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    const DWORD wanted = Pacer.NextSize();
    DWORD got = 0;
    if (!ReadFile(File, destination, wanted, &got, &at) || got != wanted)
        return false;
    Pacer.Advance();
    size = got;
    return true;
}
