// The watcher's clock-face picture, drawn at any size: a dark blue ring around a white face, a
// short green hand pointing left, a longer red hand pointing up to the right and a light blue
// centre dot, on a transparent ground. Only exactly rounded arithmetic is used, so the same
// size always gives the same pixels.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

struct Pixel {
    uint8_t blue, green, red, alpha;  // straight (not premultiplied) alpha
};

// size x size pixels, top row first.
std::vector<Pixel> DrawClockFace(int size);
