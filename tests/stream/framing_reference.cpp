#include "framing_reference.h"

#include <algorithm>
#include <deque>

namespace {

const int Window = 4096;
const uint8_t Sync = 0x47;

}  // namespace

std::vector<int32_t> ReferencePairCounts(const uint8_t* window) {
    std::vector<int32_t> counts(132, 0);
    for (int i = 0; i + 188 < Window; ++i) {
        if (window[i] != Sync)
            continue;
        for (int d = 188; d < std::min(320, Window - i); ++d)
            if (window[i + d] == Sync)
                ++counts[size_t(d - 188)];
    }
    return counts;
}

int ReferenceDetect(const uint8_t* window) {
    const std::vector<int32_t> counts = ReferencePairCounts(window);
    int best = 0;
    int32_t bestCount = 0;
    for (int d = 188; d <= 319; ++d) {
        if (counts[size_t(d - 188)] > bestCount) {
            bestCount = counts[size_t(d - 188)];
            best = d;
        }
    }
    return bestCount >= 8 && (bestCount + 2) * best >= Window ? best : 0;
}

int ReferenceConfirm(const uint8_t* window, int size) {
    for (int i = 0; i < Window - 8 * size; ++i) {
        int k = 0;
        while (k < 8 && window[i + k * size] == Sync)
            ++k;
        if (k == 8)
            return i;
    }
    return -1;
}

std::vector<int64_t> ReferenceExaminedPackets(const std::vector<uint8_t>& stream,
                                              const std::vector<size_t>& chunks) {
    std::vector<int64_t> examined;
    std::deque<uint8_t> window(Window, 0);
    int fresh = 0;
    bool synced = false;
    int size = 0;
    int64_t packetStart = 0;  // while synced: the next packet to examine
    int64_t end = 0;
    for (size_t chunk : chunks) {
        end += int64_t(chunk);
        if (synced) {
            while (packetStart + size < end) {
                if (stream[size_t(packetStart)] != Sync || stream[size_t(packetStart + size)] != Sync) {
                    synced = false;  // the rest of this chunk is dropped
                    break;
                }
                examined.push_back(packetStart);
                packetStart += size;
            }
            continue;
        }
        const int64_t taken = std::min<int64_t>(int64_t(chunk), Window);
        for (int64_t at = end - taken; at < end; ++at) {
            window.pop_front();
            window.push_back(stream[size_t(at)]);
        }
        fresh += int(taken);
        if (fresh < Window)
            continue;
        fresh = 0;
        const std::vector<uint8_t> bytes(window.begin(), window.end());
        size = ReferenceDetect(bytes.data());
        const int first = size ? ReferenceConfirm(bytes.data(), size) : -1;
        if (first >= 0) {
            synced = true;
            packetStart = end - (Window - first) % size;
        }
    }
    return examined;
}
