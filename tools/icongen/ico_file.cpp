#include "ico_file.h"

namespace {

typedef std::vector<uint8_t> Bytes;

const uint32_t DirectoryHeaderSize = 6;
const uint32_t DirectoryEntrySize = 16;
const uint32_t BitmapHeaderSize = 40;

void Put16(Bytes& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Mask rows are padded to whole 32-bit words.
uint32_t MaskRowBytes(int size) {
    return uint32_t((size + 31) / 32 * 4);
}

uint32_t ImageBytes(int size) {
    return BitmapHeaderSize + uint32_t(size * size * 4) + MaskRowBytes(size) * uint32_t(size);
}

void PutImage(Bytes& out, const IconImage& image) {
    const int size = image.size;
    Put32(out, BitmapHeaderSize);
    Put32(out, uint32_t(size));
    Put32(out, uint32_t(size * 2));  // the colour rows and the mask rows together
    Put16(out, 1);                   // planes
    Put16(out, 32);                  // bits per pixel
    Put32(out, 0);                   // uncompressed
    Put32(out, ImageBytes(size) - BitmapHeaderSize);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);  // resolution and palette: unused
    for (int row = size - 1; row >= 0; --row) {
        for (int column = 0; column < size; ++column) {
            const Pixel& p = image.pixels[size_t(row * size + column)];
            out.insert(out.end(), {p.blue, p.green, p.red, p.alpha});
        }
    }
    for (int row = size - 1; row >= 0; --row) {
        Bytes mask(MaskRowBytes(size), 0);
        for (int column = 0; column < size; ++column)
            if (image.pixels[size_t(row * size + column)].alpha == 0)
                mask[size_t(column / 8)] |= uint8_t(0x80 >> (column % 8));
        out.insert(out.end(), mask.begin(), mask.end());
    }
}

}  // namespace

Bytes IconFileBytes(const std::vector<IconImage>& images) {
    Bytes out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, uint32_t(images.size()));
    uint32_t offset = DirectoryHeaderSize + DirectoryEntrySize * uint32_t(images.size());
    for (const IconImage& image : images) {
        out.push_back(uint8_t(image.size));
        out.push_back(uint8_t(image.size));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, ImageBytes(image.size));
        Put32(out, offset);
        offset += ImageBytes(image.size);
    }
    for (const IconImage& image : images)
        PutImage(out, image);
    return out;
}
