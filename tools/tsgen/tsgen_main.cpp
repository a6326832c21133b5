// tsgen: writes the bundled sample transport stream.
// Usage: tsgen CAPTURED_TOT.ts OUTPUT.ts
#include "sample_stream.h"

#include <stdio.h>

namespace {

bool ReadFile(const char* path, Bytes& bytes) {
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    uint8_t buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool ok = !ferror(file);
    fclose(file);
    return ok;
}

bool WriteFile(const char* path, const Bytes& bytes) {
    FILE* file = fopen(path, "wb");
    if (!file)
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: tsgen CAPTURED_TOT.ts OUTPUT.ts\n");
        return 2;
    }
    Bytes captured;
    if (!ReadFile(argv[1], captured) || captured.size() != 188 || captured[0] != 0x47) {
        fprintf(stderr, "tsgen: %s is not one readable 188-byte packet\n", argv[1]);
        return 2;
    }
    if (!WriteFile(argv[2], GenerateSampleStream(captured))) {
        fprintf(stderr, "tsgen: cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
