#include "play_schedule.h"

#include <stdlib.h>

bool PlaySchedule::AddTimePoint(uint64_t offset, int64_t broadcastMs) {
    const double ms = double(broadcastMs);  // exact: broadcast times are far below 2^53 ms
    // Points come in file order; one at the previous offset would make an empty segment.
    if (Count > 0 && (Knots[Count - 1].ms == ms || offset <= Knots[Count - 1].offset))
        return true;
    if (Count == Capacity) {
        const size_t capacity = Capacity ? 2 * Capacity : 64;
        Knot* grown = static_cast<Knot*>(realloc(Knots, capacity * sizeof(Knot)));
        if (!grown)
            return false;
        Knots = grown;
        Capacity = capacity;
    }
    Knots[Count++] = {offset, ms};
    return true;
}

bool PlaySchedule::Usable(size_t segment) const {
    const double step = Knots[segment + 1].ms - Knots[segment].ms;
    return step > 0 && step <= double(MaxStepMs);
}

double PlaySchedule::Rate(size_t segment) const {
    return double(Knots[segment + 1].offset - Knots[segment].offset) /
           (Knots[segment + 1].ms - Knots[segment].ms);
}

void PlaySchedule::Finish(uint64_t fileSize, uint32_t fallbackBytesPerSecond) {
    FileSize = fileSize;
    FirstRate = double(fallbackBytesPerSecond) / 1000;
    for (size_t segment = 0; segment + 1 < Count; ++segment) {
        if (Usable(segment)) {
            FirstRate = Rate(segment);
            break;
        }
    }
    LastRate = FirstRate;
    if (Count == 0)
        return;
    // Forward, overwriting each broadcast time with the due time once its segment is measured.
    double due = double(Knots[0].offset) / FirstRate;
    double broadcast = Knots[0].ms;
    Knots[0].ms = due;
    for (size_t i = 1; i < Count; ++i) {
        const double step = Knots[i].ms - broadcast;
        const double bytes = double(Knots[i].offset - Knots[i - 1].offset);
        if (step > 0 && step <= double(MaxStepMs)) {
            LastRate = bytes / step;
            due += step;
        } else {
            due += bytes / LastRate;
        }
        broadcast = Knots[i].ms;
        Knots[i].ms = due;
    }
}

namespace {

// Ticks are compared modulo 2^32, so due times wrap the same way.
uint32_t Wrapped(double ms) { return uint32_t(int64_t(ms)); }

}  // namespace

uint32_t PlaySchedule::DueMs(uint64_t offset) const {
    if (Count == 0 || offset <= Knots[0].offset)
        return Wrapped(double(offset) / FirstRate);
    const Knot& last = Knots[Count - 1];
    if (offset >= last.offset)
        return Wrapped(last.ms + double(offset - last.offset) / LastRate);
    // The last knot at or before `offset`: Knots[low].offset <= offset < Knots[high].offset.
    size_t low = 0;
    size_t high = Count - 1;
    while (high - low > 1) {
        const size_t middle = low + (high - low) / 2;
        if (Knots[middle].offset <= offset)
            low = middle;
        else
            high = middle;
    }
    const Knot& a = Knots[low];
    const Knot& b = Knots[high];
    return Wrapped(a.ms + (b.ms - a.ms) * double(offset - a.offset) / double(b.offset - a.offset));
}

void PlaySchedule::Clear() {
    free(Knots);
    Knots = nullptr;
    Count = 0;
    Capacity = 0;
}
