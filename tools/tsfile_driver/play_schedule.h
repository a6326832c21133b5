// When each byte of a transport-stream file is due, so that the file plays at the pace it was
// broadcast: a piecewise-linear map from byte offset to milliseconds after the start of a pass,
// built from the file's time tables (the byte offset of each table and the time it carries).
// Between two consecutive time points the bytes are spread evenly over their time difference.
// Where the time jumps (a difference <= 0 or over MaxStepMs: the file was cut or joined there)
// the bytes take the byte rate of the latest usable segment before them, or of the first one
// after them when there is none before; before the first point the first usable segment's rate
// applies, after the last point the latest one's. With no usable segment at all (fewer than two
// points, or only jumps) a fallback rate applies everywhere.
#pragma once

#include <stddef.h>
#include <stdint.h>

class PlaySchedule {
public:
    enum : int64_t { MaxStepMs = 60000 };

    PlaySchedule() = default;
    ~PlaySchedule() { Clear(); }
    PlaySchedule(const PlaySchedule&) = delete;
    PlaySchedule& operator=(const PlaySchedule&) = delete;

    // Appends the next time point in file order; `broadcastMs` is on the broadcast's own time
    // scale. A point repeating the previous point's time is dropped: times have one-second
    // resolution, so the first table of a second marks where it begins; so is one that does not
    // lie beyond the previous point. False when memory runs out (the schedule is then unusable).
    bool AddTimePoint(uint64_t offset, int64_t broadcastMs);
    // Turns the points into due times. `fallbackBytesPerSecond` must not be 0.
    void Finish(uint64_t fileSize, uint32_t fallbackBytesPerSecond);
    // Milliseconds after the start of a pass at which the bytes before `offset` have arrived.
    uint32_t DueMs(uint64_t offset) const;
    // The length of one pass over the file, ms.
    uint32_t PassMs() const { return DueMs(FileSize); }
    // Back to no points (frees the memory).
    void Clear();

private:
    struct Knot {
        uint64_t offset;
        double ms;  // the broadcast time until Finish, then the due time
    };
    bool Usable(size_t segment) const;  // the segment from knot `segment` to the next one
    double Rate(size_t segment) const;  // its bytes per ms

    Knot* Knots = nullptr;
    size_t Count = 0;
    size_t Capacity = 0;
    double FirstRate = 1;  // bytes per ms before the first knot
    double LastRate = 1;   // bytes per ms after the last knot
    uint64_t FileSize = 0;
};
