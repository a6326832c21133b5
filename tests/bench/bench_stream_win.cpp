// Throughput of the stream core as the Windows trees compile it (in the MSVC-ABI tree the very
// objects of the wrapper DLL), timed with QueryPerformanceCounter, as there is no benchmark
// library there: detection at its worst (4096-byte chunks dense with 0x47 and no period), with
// the debug line of every attempt and, with debug output discarded, for each set of methods
// this processor can run; and the synchronised path on 48128-byte chunks; each beside memcpy of
// the same chunks. Every figure is the best of RUNS runs of 50 ms or more (default 5).
//   bench_stream_win [RUNS]
#include "bench_stream_setup.h"
#include "cpu_features.h"
#include "import_patch.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const size_t DetectionChunk = 4096;
const double RunSeconds = 0.05;

uint8_t CopyTarget[LargeChunk];
double TicksPerSecond;
int Runs = 5;

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / TicksPerSecond;
}

// Seconds per call of step(), the best of Runs runs of RunSeconds or more each: the figure
// least disturbed by other processes.
template <typename Step>
double BestSecondsPerCall(Step step) {
    long calls = 1;
    double best = 0;
    for (int run = 0; run < Runs;) {
        const double start = Now();
        for (long i = 0; i < calls; ++i)
            step();
        const double elapsed = Now() - start;
        if (elapsed < RunSeconds) {
            calls *= 2;
            continue;
        }
        if (run++ == 0 || elapsed / calls < best)
            best = elapsed / calls;
    }
    return best;
}

double CopySecondsPerChunk(ChunkRound round) {
    return BestSecondsPerCall([&] {
        memcpy(CopyTarget, round.Next(), round.chunk);
        __asm__ volatile("" : : "r"(CopyTarget) : "memory");  // the copy counts as read
    });
}

double MegabytesPerSecond(size_t bytes, double seconds) {
    return double(bytes) / seconds / 1e6;
}

void WINAPI DiscardDebugOutput(LPCWSTR) {}

// Every chunk goes through the detection window: noise without a period never synchronises, so
// every 4096 bytes make a detection attempt. 0 if it did synchronise.
double DetectionMegabytesPerSecond(const uint8_t* noise) {
    ChunkRound round = {noise, DenseNoiseLength, DetectionChunk, 0};
    CTsAnalyzer analyzer(L"bench", NoSamples);
    const double seconds = BestSecondsPerCall([&] {
        analyzer.OnGetTsStream(round.Next(), DWORD(DetectionChunk));
    });
    return analyzer.Framing().Synced ? 0 : MegabytesPerSecond(DetectionChunk, seconds);
}

// Each attempt writes a debug line, which under Wine costs more than the attempt itself; with
// the program's import of OutputDebugStringW pointed at a function doing nothing, the figure
// is the framing's own.
void PrintDetection(const uint8_t* noise) {
    MethodSet sets[MaxMethodSets];
    const int setCount = MethodSets(sets);
    printf("Chosen here: pair counts %s, sync bits %s\n", sets[0].pairCounts, sets[0].syncBits);
    printf("Detection, 4096-byte chunks dense with 0x47 and no period:\n");
    printf("  analyser, a debug line per attempt         %8.0f MB/s\n", DetectionMegabytesPerSecond(noise));
    void* const debugOutput = PatchImport(GetModuleHandleW(nullptr), "kernel32.dll", "OutputDebugStringW",
                                          reinterpret_cast<void*>(&DiscardDebugOutput));
    for (int set = 0; set < setCount; ++set) {
        LimitCpuFeatures(sets[set].limit);
        printf("  no debug output, %-16s + %-8s %8.0f MB/s\n", sets[set].pairCounts, sets[set].syncBits,
               DetectionMegabytesPerSecond(noise));
    }
    LimitCpuFeatures(~0u);
    PatchImport(GetModuleHandleW(nullptr), "kernel32.dll", "OutputDebugStringW", debugOutput);
    const ChunkRound copyRound = {noise, DenseNoiseLength, DetectionChunk, 0};
    printf("  memcpy                                     %8.0f MB/s\n",
           MegabytesPerSecond(DetectionChunk, CopySecondsPerChunk(copyRound)));
}

// False when the analyser lost sync.
bool PrintSynchronised(int packetSize) {
    const size_t length = CyclicStreamLength(packetSize, LargeChunk);
    uint8_t* const stream = static_cast<uint8_t*>(malloc(length));
    FillCyclicStream(stream, length, packetSize);
    CTsAnalyzer analyzer(L"bench", NoSamples);
    ChunkRound round = StartSynchronised(analyzer, stream, length, LargeChunk);
    const double analyser =
        BestSecondsPerCall([&] { analyzer.OnGetTsStream(round.Next(), DWORD(LargeChunk)); });
    const ChunkRound copyRound = {stream, length, LargeChunk, 0};
    const double copy = CopySecondsPerChunk(copyRound);
    printf("  %d-byte packets  %8.0f MB/s  %8.0f MB/s  %6.2f\n", packetSize,
           MegabytesPerSecond(LargeChunk, analyser), MegabytesPerSecond(LargeChunk, copy), copy / analyser);
    const bool synced = analyzer.Framing().Synced;
    free(stream);
    return synced;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && atoi(argv[1]) > 0)
        Runs = atoi(argv[1]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    TicksPerSecond = double(frequency.QuadPart);
    uint8_t* const noise = static_cast<uint8_t*>(malloc(DenseNoiseLength));
    FillDenseNoise(noise, DenseNoiseLength);
    PrintDetection(noise);
    free(noise);
    printf("Synchronised, 48128-byte chunks:  analyser    memcpy   memcpy time / analyser time\n");
    const int packetSizes[] = {188, 192, 204};
    bool synced = true;
    for (int packetSize : packetSizes)
        synced = PrintSynchronised(packetSize) && synced;
    if (!synced)
        printf("bench_stream_win: the analyser lost sync\n");
    return synced ? 0 : 1;
}
