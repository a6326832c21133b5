// tstime: prints the packet size and every TDT/TOT time found in a transport stream, decoded by
// the same stream core as the tuner-driver wrapper.
#include "time_scanner.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char Usage[] =
    "usage: tstime [FILE | -]\n"
    "Reads an MPEG-2 transport stream from FILE, or from standard input when FILE is '-' or\n"
    "missing, and prints where it synchronises (with the packet size), where it loses\n"
    "synchronisation, and every TDT/TOT time it decodes with the byte offset of its packet.\n"
    "Packets inside each 4096-byte detection window are not examined, as in the driver.\n"
    "Exit status: 0 when at least one time was decoded, 1 when none was, 2 for a usage or\n"
    "read error.\n";

class Printer : public TimeScannerEvents {
public:
    void Synchronised(uint64_t firstPacket, int packetSize) override {
        printf("offset %10llu  synchronised, packet size %d\n", static_cast<unsigned long long>(firstPacket),
               packetSize);
    }

    void SyncLost(uint64_t packet) override {
        printf("offset %10llu  synchronisation lost\n", static_cast<unsigned long long>(packet));
    }

    void TimeDecoded(uint64_t packet, BYTE tableId, const SYSTEMTIME& time) override {
        ++times;
        printf("offset %10llu  %s %04u-%02u-%02u %02u:%02u:%02u\n", static_cast<unsigned long long>(packet),
               tableId == 0x73 ? "TOT" : "TDT", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
               time.wSecond);
    }

    unsigned long times = 0;
};

// 0 when the whole input was read, 2 after a read error.
int Scan(FILE* input, const char* name, Printer& printer) {
    TimeScanner scanner(printer);
    static BYTE buffer[1 << 16];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, input)) > 0)
        scanner.Feed(buffer, got);
    if (ferror(input)) {
        fprintf(stderr, "tstime: cannot read %s\n", name);
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0))) {
        fputs(Usage, argc > 2 ? stderr : stdout);
        return argc > 2 ? 2 : 0;
    }
    const bool standardInput = argc < 2 || strcmp(argv[1], "-") == 0;
    FILE* input = stdin;
    if (standardInput) {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
    } else if (!(input = fopen(argv[1], "rb"))) {
        fprintf(stderr, "tstime: cannot open %s: %s\n", argv[1], strerror(errno));
        return 2;
    }
    Printer printer;
    const int status = Scan(input, standardInput ? "standard input" : argv[1], printer);
    if (!standardInput)
        fclose(input);
    if (status != 0)
        return status;
    fprintf(stderr, "tstime: %lu time%s decoded\n", printer.times, printer.times == 1 ? "" : "s");
    return printer.times > 0 ? 0 : 1;
}
