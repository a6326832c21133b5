// The Windows icon file format for 32-bit images: a directory, then per image a bitmap header,
// the colour rows bottom-up and a 1-bit AND mask (set where a pixel is fully transparent).
#pragma once

#include <stdint.h>

#include <vector>

#include "clock_face.h"

struct IconImage {
    int size;                   // width and height, at most 255
    std::vector<Pixel> pixels;  // size x size, top row first
};

std::vector<uint8_t> IconFileBytes(const std::vector<IconImage>& images);
