// Throughput of OnGetTsStream: synchronised on 188/192/204-byte streams (each beside memcpy of
// the same chunks), unsynchronised on a clean stream, and detection at its worst (windows
// dense with 0x47 and no period). Prints the memcpy/analyser time ratios at the end.
#include "tot_listener.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>

#include <map>
#include <random>
#include <string>
#include <vector>

struct TsAnalyzerProbe {
    static bool Synced(const CTsAnalyzer& a) { return a.Synced; }
    static void Unsync(CTsAnalyzer& a) { a.Synced = false; }
};

namespace {

typedef std::vector<uint8_t> Bytes;

const size_t LargeChunk = 48128;  // 256 packets of 188 bytes

size_t Gcd(size_t a, size_t b) {
    return b ? Gcd(b, a % b) : a;
}

// A stream of `size`-byte packets, mostly null packets with one TDT in 4096 (about one a
// second at 20 Mbit/s), whose length is a whole number of chunks and of packets (and at least
// 64 KiB), so that it can be fed round and round.
Bytes CyclicStream(int size, size_t chunk) {
    const size_t cycle = chunk / Gcd(chunk, size_t(size)) * size_t(size);
    const size_t length = (65536 + cycle - 1) / cycle * cycle;
    Bytes stream(length, 0xFF);
    for (size_t at = 0, index = 0; at < length; at += size_t(size), ++index) {
        const bool tdt = index % 4096 == 0;
        const uint8_t header[13] = {0x47, uint8_t(tdt ? 0x40 : 0x1F), uint8_t(tdt ? 0x14 : 0xFF), 0x10, 0x00,
                                    0x70, 0x70, 0x05, 0xD4, 0x9B, 0x13, 0x25, 0x14};
        memcpy(&stream[at], header, tdt ? 13 : 4);
    }
    return stream;
}

void SyncedStream(benchmark::State& state) {
    const int size = int(state.range(0));
    const size_t chunk = size_t(state.range(1));
    const Bytes stream = CyclicStream(size, chunk);
    CTsAnalyzer analyzer(L"bench");
    analyzer.OnGetTsStream(stream.data(), 4096);
    const size_t aligned = (4096 + chunk - 1) / chunk * chunk;  // a chunk boundary
    analyzer.OnGetTsStream(stream.data() + 4096, DWORD(aligned - 4096));
    size_t at = aligned % stream.size();
    for (auto _ : state) {
        analyzer.OnGetTsStream(stream.data() + at, DWORD(chunk));
        at += chunk;
        if (at == stream.size())
            at = 0;
    }
    if (!TsAnalyzerProbe::Synced(analyzer))
        state.SkipWithError("lost sync");
    state.SetBytesProcessed(int64_t(state.iterations() * chunk));
}

void CopyStream(benchmark::State& state) {
    const size_t chunk = size_t(state.range(1));
    const Bytes stream = CyclicStream(int(state.range(0)), chunk);
    Bytes copy(chunk);
    size_t at = 0;
    for (auto _ : state) {
        memcpy(copy.data(), stream.data() + at, chunk);
        benchmark::ClobberMemory();
        at += chunk;
        if (at == stream.size())
            at = 0;
    }
    state.SetBytesProcessed(int64_t(state.iterations() * chunk));
}

// Every chunk goes through the window; synchronisation is undone after each success so that
// every 4096 bytes make a detection attempt.
void UnsyncedStream(benchmark::State& state, const Bytes& stream, size_t chunk) {
    CTsAnalyzer analyzer(L"bench");
    size_t at = 0;
    for (auto _ : state) {
        analyzer.OnGetTsStream(stream.data() + at, DWORD(chunk));
        TsAnalyzerProbe::Unsync(analyzer);
        at += chunk;
        if (at + chunk > stream.size())
            at = 0;
    }
    state.SetBytesProcessed(int64_t(state.iterations() * chunk));
}

void UnsyncedCleanStream(benchmark::State& state) {
    const size_t chunk = size_t(state.range(0));
    UnsyncedStream(state, CyclicStream(188, LargeChunk), chunk);
}

// Half the bytes 0x47, at random places: every distance is counted thousands of times.
void UnsyncedDenseNoise(benchmark::State& state) {
    std::mt19937 random(5);
    std::bernoulli_distribution sync(0.5);
    Bytes noise(1 << 20);
    for (uint8_t& byte : noise)
        byte = sync(random) ? 0x47 : 0x00;
    UnsyncedStream(state, noise, size_t(state.range(0)));
}

BENCHMARK(SyncedStream)->ArgsProduct({{188, 192, 204}, {int64_t(LargeChunk), 188}});
BENCHMARK(CopyStream)->ArgsProduct({{188, 192, 204}, {int64_t(LargeChunk), 188}});
BENCHMARK(UnsyncedCleanStream)->Arg(4096)->Arg(188);
BENCHMARK(UnsyncedDenseNoise)->Arg(4096)->Arg(188);

// Console output plus a table of memcpy time / analyser time for the same chunks.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // Single runs, or the medians when only aggregates are reported.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const std::string name = run.run_name.str();
            const auto known = seconds.find(name);
            if (known == seconds.end() || run.GetAdjustedCPUTime() < known->second)
                seconds[name] = run.GetAdjustedCPUTime();  // the least disturbed figure
        }
    }

    void PrintRatios() const {
        printf("\nmemcpy CPU time / OnGetTsStream CPU time for the same chunks, best of the runs\n"
               "(above 1: the analyser is faster)\n");
        for (const auto& entry : seconds) {
            if (entry.first.rfind("SyncedStream/", 0) != 0)
                continue;
            const auto copy = seconds.find("CopyStream/" + entry.first.substr(13));
            if (copy != seconds.end())
                printf("  %-28s %6.2f\n", entry.first.c_str(), copy->second / entry.second);
        }
    }

private:
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
