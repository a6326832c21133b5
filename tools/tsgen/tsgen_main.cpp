// tsgen: writes the bundled sample transport stream, or a stream that carries a given time.
// Usage: tsgen CAPTURED_TOT.ts OUTPUT.ts
//        tsgen --start YYYY-MM-DDTHH:MM:SS [--seconds N] OUTPUT.ts
#include "sample_stream.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char Usage[] =
    "usage: tsgen CAPTURED_TOT.ts OUTPUT.ts\n"
    "       tsgen --start YYYY-MM-DDTHH:MM:SS [--seconds N] OUTPUT.ts\n"
    "The first form writes the bundled sample stream; the second writes N seconds (default 60,\n"
    "at most 86400) of 188-byte packets whose TDT and TOT carry the times from START on.\n";
const int DefaultSeconds = 60;
const int MaxSeconds = 86400;

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

// A calendar time that exists: one that adding no seconds leaves as it is (no 30 February, no
// hour 24), in the years 1901 to 2078, which a receiver reads back from the 16-bit MJD of a
// TDT without doubt about its cycle.
bool ParseTime(const char* text, UtcTime& time) {
    int end = 0;
    if (sscanf(text, "%4d-%2d-%2dT%2d:%2d:%2d%n", &time.year, &time.month, &time.day, &time.hour,
               &time.minute, &time.second, &end) != 6 || text[end] != '\0')
        return false;
    if (time.year < 1901 || time.year > 2078 || time.month < 1 || time.month > 12 || time.day < 1)
        return false;
    const UtcTime same = AddSeconds(time, 0);
    return same.year == time.year && same.month == time.month && same.day == time.day &&
           same.hour == time.hour && same.minute == time.minute && same.second == time.second;
}

bool ParseSeconds(const char* text, int& seconds) {
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > MaxSeconds)
        return false;
    seconds = int(value);
    return true;
}

int Fail(const char* message, const char* argument) {
    fprintf(stderr, "tsgen: ");
    fprintf(stderr, message, argument);
    fprintf(stderr, "\n");
    return 2;
}

int WriteSample(const char* capturedPath, const char* output) {
    Bytes captured;
    if (!ReadFile(capturedPath, captured) || captured.size() != 188 || captured[0] != 0x47)
        return Fail("%s is not one readable 188-byte packet", capturedPath);
    if (!WriteFile(output, GenerateSampleStream(captured)))
        return Fail("cannot write %s", output);
    return 0;
}

// Arguments after "--start": TIME [--seconds N] OUTPUT.
int WriteTimeStream(int argc, char** argv) {
    UtcTime start;
    if (!ParseTime(argv[0], start))
        return Fail("%s is no time YYYY-MM-DDTHH:MM:SS of the years 1901 to 2078", argv[0]);
    int seconds = DefaultSeconds;
    if (argc == 4 && strcmp(argv[1], "--seconds") == 0) {
        if (!ParseSeconds(argv[2], seconds))
            return Fail("--seconds %s is not a number from 1 to 86400", argv[2]);
    } else if (argc != 2) {
        fputs(Usage, stderr);
        return 2;
    }
    const char* output = argv[argc - 1];
    if (!WriteFile(output, GenerateTimeStream(start, seconds)))
        return Fail("cannot write %s", output);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && strcmp(argv[1], "--help") == 0) {
        fputs(Usage, stdout);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "--start") == 0)
        return WriteTimeStream(argc - 2, argv + 2);
    if (argc == 3 && argv[1][0] != '-')
        return WriteSample(argv[1], argv[2]);
    fputs(Usage, stderr);
    return 2;
}
