// icongen: writes the watcher's icon file, the clock face at 32 x 32 and 48 x 48 pixels.
// Usage: icongen OUTPUT.ico
#include <stdio.h>

#include "ico_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: icongen OUTPUT.ico\n");
        return 2;
    }
    std::vector<IconImage> images;
    for (int size : {32, 48})
        images.push_back(IconImage{size, DrawClockFace(size)});
    const std::vector<uint8_t> bytes = IconFileBytes(images);
    FILE* file = fopen(argv[1], "wb");
    const bool written = file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!file || fclose(file) != 0 || !written) {
        fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 2;
    }
    return 0;
}
