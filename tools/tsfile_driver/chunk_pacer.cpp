#include "chunk_pacer.h"

void ChunkPacer::Start(const PlaySchedule* schedule, uint64_t fileSize, uint32_t chunkBytes,
                       bool loop, uint32_t nowTick) {
    Schedule = schedule;
    FileSize = fileSize;
    ChunkBytes = chunkBytes;
    Loop = loop;
    Restart(nowTick);
}

void ChunkPacer::Restart(uint32_t nowTick) {
    Offset = 0;
    PassStartTick = nowTick;
}

uint32_t ChunkPacer::NextSize() const {
    const uint64_t left = FileSize - Offset;
    return left < ChunkBytes ? uint32_t(left) : ChunkBytes;
}

int32_t ChunkPacer::MsUntilDue(uint32_t nowTick) const {
    if (!Schedule)
        return 0;
    const uint32_t dueTick = PassStartTick + Schedule->DueMs(Offset + NextSize());
    return int32_t(dueTick - nowTick);
}

void ChunkPacer::Advance() {
    Offset += NextSize();
    if (Offset == FileSize && Loop) {
        Offset = 0;
        if (Schedule)
            PassStartTick += Schedule->PassMs();
    }
}

uint32_t ChunkPacer::ReadyCount(uint32_t nowTick) const {
    ChunkPacer ahead = *this;
    uint32_t count = 0;
    while (count < ReadyLimit && !ahead.Ended() && ahead.MsUntilDue(nowTick) <= 0) {
        ahead.Advance();
        ++count;
    }
    return count;
}
