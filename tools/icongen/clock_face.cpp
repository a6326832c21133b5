#include "clock_face.h"

namespace {

const int Subsamples = 8;  // per axis and pixel: edges are anti-aliased by coverage

struct Colour {
    double red, green, blue;
};

const Colour RingBlue = {0x1A, 0x3A, 0x8C};
const Colour FaceWhite = {0xFA, 0xFA, 0xF5};
const Colour HandGreen = {0x2E, 0x9E, 0x44};
const Colour HandRed = {0xD6, 0x2B, 0x2B};
const Colour DotBlue = {0x6C, 0xC4, 0xF0};

// Coordinates in units of the picture's size, the centre at (0.5, 0.5), y growing downwards.
struct Point {
    double x, y;
};

double DistanceSquared(Point a, Point b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

// A hand: the segment from the centre to its tip with round ends.
bool OnHand(Point p, Point tip, double halfWidth) {
    const Point centre = {0.5, 0.5};
    const double dx = tip.x - centre.x, dy = tip.y - centre.y;
    double t = ((p.x - centre.x) * dx + (p.y - centre.y) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    const Point nearest = {centre.x + t * dx, centre.y + t * dy};
    return DistanceSquared(p, nearest) <= halfWidth * halfWidth;
}

// The topmost shape under a point, or null for the transparent ground.
const Colour* ShapeAt(Point p) {
    const Point centre = {0.5, 0.5};
    const double r2 = DistanceSquared(p, centre);
    if (r2 <= 0.075 * 0.075)
        return &DotBlue;
    // 3-4-5 direction: up and to the right without any trigonometry.
    if (OnHand(p, {0.5 + 0.36 * 0.6, 0.5 - 0.36 * 0.8}, 0.04))
        return &HandRed;
    if (OnHand(p, {0.5 - 0.26, 0.5}, 0.055))
        return &HandGreen;
    if (r2 > 0.47 * 0.47)
        return nullptr;
    return r2 >= 0.38 * 0.38 ? &RingBlue : &FaceWhite;
}

uint8_t Channel(double premultipliedSum, int covered) {
    return uint8_t(premultipliedSum / covered + 0.5);
}

Pixel PixelAt(int column, int row, int size) {
    double red = 0, green = 0, blue = 0;
    int covered = 0;
    for (int i = 0; i < Subsamples; ++i) {
        for (int j = 0; j < Subsamples; ++j) {
            const Point p = {(column + (j + 0.5) / Subsamples) / size,
                             (row + (i + 0.5) / Subsamples) / size};
            if (const Colour* colour = ShapeAt(p)) {
                red += colour->red;
                green += colour->green;
                blue += colour->blue;
                ++covered;
            }
        }
    }
    if (covered == 0)
        return Pixel{0, 0, 0, 0};
    const int all = Subsamples * Subsamples;
    return Pixel{Channel(blue, covered), Channel(green, covered), Channel(red, covered),
                 uint8_t((covered * 255 + all / 2) / all)};
}

}  // namespace

std::vector<Pixel> DrawClockFace(int size) {
    std::vector<Pixel> pixels;
    pixels.reserve(size_t(size) * size);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column)
            pixels.push_back(PixelAt(column, row, size));
    return pixels;
}
