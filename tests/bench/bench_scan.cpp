// Time of one ScanSources pass over 1, 10 and 50 live announcers, per announcer (a program
// that prints figures; run under Wine or Windows). Target: at most 1 ms per announcer.
#include <windows.h>

#include <stdio.h>

#include <memory>
#include <vector>

#include "announce_text.h"
#include "announcer_process.h"
#include "elapsed_msec.h"
#include "scan_win32.h"

constexpr int Passes = 50;

int main()
{
    std::vector<std::unique_ptr<AnnouncerProcess>> announcers;
    for (size_t count : {1u, 10u, 50u}) {
        while (announcers.size() < count) {
            wchar_t text[AnnounceTextCapacity];
            FormatAnnounceTimeRecord(text, static_cast<uint32_t>(announcers.size()), 0x89abcdef,
                                     0x01dc0000, L"BonDriver_Bench");
            announcers.push_back(std::make_unique<AnnouncerProcess>());
            if (!announcers.back()->StartWithText(text)) {
                fprintf(stderr, "bench_scan: announcer %u did not start\n",
                        static_cast<unsigned>(announcers.size()));
                return 1;
            }
        }
        Win32ScanPlatform platform;
        SourceTable table;
        WatchSettings settings{};
        // The first pass creates the entries and looks up every owner; later passes refresh.
        LARGE_INTEGER start, created, end;
        QueryPerformanceCounter(&start);
        ScanSources(platform, table, settings);
        QueryPerformanceCounter(&created);
        for (int pass = 0; pass < Passes; ++pass) ScanSources(platform, table, settings);
        QueryPerformanceCounter(&end);
        const double first = Milliseconds(start, created);
        const double perPass = Milliseconds(created, end) / Passes;
        const double n = static_cast<double>(count);
        printf("ScanSources, %2u announcers (%2u entries): first pass %8.3f ms (%6.3f ms per "
               "announcer), later passes %8.3f ms (%6.3f ms per announcer)\n",
               static_cast<unsigned>(count), static_cast<unsigned>(table.size()), first,
               first / n, perPass, perPass / n);
    }
    return 0;
}
