// Which chunk of a file comes next and when it is due. Chunks follow each other through the
// file; a pass starts at a tick, and a chunk is due once the schedule says that its last byte
// has arrived (real-time pace) or at once (fast pace, no schedule). With Loop the next pass
// starts where the schedule of the previous one ends, not when the host gets round to it, so a
// host that fell behind catches up as it would with a tuner. Ticks are GetTickCount()
// milliseconds compared modulo 2^32; a pass must be shorter than 24 days.
#pragma once

#include "play_schedule.h"

class ChunkPacer {
public:
    enum : uint32_t { ReadyLimit = 100 };  // ReadyCount counts no further

    // `schedule` null: fast pace. `fileSize` and `chunkBytes` must not be 0.
    void Start(const PlaySchedule* schedule, uint64_t fileSize, uint32_t chunkBytes, bool loop,
               uint32_t nowTick);
    // Back to the file's first byte, due from `nowTick` on.
    void Restart(uint32_t nowTick);

    // True once the last chunk has been taken without Loop.
    bool Ended() const { return Offset == FileSize; }
    uint64_t NextOffset() const { return Offset; }
    uint32_t NextSize() const;
    // How long until the next chunk is due, ms; 0 or less when it is due now.
    int32_t MsUntilDue(uint32_t nowTick) const;
    // Takes the next chunk.
    void Advance();
    // How many chunks, from the next one on, are due at `nowTick`; at most ReadyLimit.
    uint32_t ReadyCount(uint32_t nowTick) const;

private:
    const PlaySchedule* Schedule = nullptr;
    uint64_t FileSize = 0;
    uint64_t Offset = 0;
    uint32_t ChunkBytes = 1;
    bool Loop = false;
    uint32_t PassStartTick = 0;
};
