// Throughput of OnGetTsStream: synchronised on 188/192/204-byte streams (each beside memcpy of
// the same chunks), unsynchronised on a clean stream, and detection at its worst (windows
// dense with 0x47 and no period), also with each set of slower methods that this processor can
// run. Prints the memcpy/analyser time ratios at the end.
#include "bench_stream_setup.h"
#include "cpu_features.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes CyclicStream(int size, size_t chunk) {
    Bytes stream(CyclicStreamLength(size, chunk));
    FillCyclicStream(stream.data(), stream.size(), size);
    return stream;
}

void SyncedStream(benchmark::State& state) {
    const int size = int(state.range(0));
    const size_t chunk = size_t(state.range(1));
    const Bytes stream = CyclicStream(size, chunk);
    CTsAnalyzer analyzer(L"bench", NoSamples);
    ChunkRound round = StartSynchronised(analyzer, stream.data(), stream.size(), chunk);
    for (auto _ : state)
        analyzer.OnGetTsStream(round.Next(), DWORD(chunk));
    if (!analyzer.Framing().Synced)
        state.SkipWithError("lost sync");
    state.SetBytesProcessed(int64_t(state.iterations() * chunk));
}

void CopyStream(benchmark::State& state) {
    const size_t chunk = size_t(state.range(1));
    const Bytes stream = CyclicStream(int(state.range(0)), chunk);
    Bytes copy(chunk);
    ChunkRound round = {stream.data(), stream.size(), chunk, 0};
    for (auto _ : state) {
        memcpy(copy.data(), round.Next(), chunk);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * chunk));
}

// Every chunk goes through the window; an analyser that found sync is replaced by a fresh one,
// so that every 4096 bytes make a detection attempt.
void UnsyncedStream(benchmark::State& state, const Bytes& stream, size_t chunk) {
    std::optional<CTsAnalyzer> analyzer(std::in_place, L"bench", NoSamples);
    ChunkRound round = {stream.data(), stream.size(), chunk, 0};
    for (auto _ : state) {
        analyzer->OnGetTsStream(round.Next(), DWORD(chunk));
        if (analyzer->Framing().Synced)
            analyzer.emplace(L"bench", NoSamples);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * chunk));
}

void UnsyncedCleanStream(benchmark::State& state) {
    const size_t chunk = size_t(state.range(0));
    UnsyncedStream(state, CyclicStream(188, LargeChunk), chunk);
}

void UnsyncedDenseNoise(benchmark::State& state) {
    Bytes noise(DenseNoiseLength);
    FillDenseNoise(noise.data(), noise.size());
    UnsyncedStream(state, noise, size_t(state.range(0)));
}

// Detection with the methods that `limit` leaves the fastest.
void UnsyncedDenseNoiseLimited(benchmark::State& state, unsigned limit) {
    LimitCpuFeatures(limit);
    UnsyncedDenseNoise(state);
    LimitCpuFeatures(~0u);
}

void RegisterMethodSets() {
    MethodSet sets[MaxMethodSets];
    const int count = MethodSets(sets);
    for (int set = 0; set < count; ++set) {
        const std::string name =
            std::string("UnsyncedDenseNoise/") + sets[set].pairCounts + "+" + sets[set].syncBits;
        benchmark::RegisterBenchmark(name.c_str(), UnsyncedDenseNoiseLimited, sets[set].limit)->Arg(4096);
    }
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
    RegisterMethodSets();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
