// A straightforward, byte-by-byte statement of the framing rules, written independently of
// the analyser, to check its fast detection and its chunk handling against.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

// Pair counts over a 4096-byte window: counts[d - 188] for d = 188..319.
std::vector<int32_t> ReferencePairCounts(const uint8_t* window);
// The packet size that the counts select, or 0.
int ReferenceDetect(const uint8_t* window);
// First position i < 4096 - 8 * size starting eight sync bytes `size` apart, or -1.
int ReferenceConfirm(const uint8_t* window, int size);

// Offsets of the packets (in the whole stream) that the analyser must hand to ProcessPacket
// when `stream` is delivered in chunks of the given sizes.
std::vector<int64_t> ReferenceExaminedPackets(const std::vector<uint8_t>& stream,
                                              const std::vector<size_t>& chunks);
