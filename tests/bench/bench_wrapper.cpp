// What the wrapper costs a host: GetTsStream through the wrapper against the same call on the
// test driver directly, both serving 48128-byte chunks from memory, and the extra time of the
// first time update, which starts the notification thread and its window.
//   bench_wrapper [passes]
#include "check.h"
#include "driver_probe.h"
#include "host_support.h"
#include "ts_stream_builder.h"
#include "wrapper_folder.h"

#include <stdlib.h>

namespace {

typedef IBonDriver*(__cdecl* CreateBonDriverFunction)();

const int PacketSize = 188;
const DWORD ChunkSize = 48128;  // 256 packets
const int ChunksPerPass = 64;   // about 3 MB, one TOT in it
const BroadcastTime Time = {2007, 11, 23, 13, 25, 14};

BYTE Stream[ChunksPerPass * ChunkSize];
DWORD TimePacketOffset = 0;
LARGE_INTEGER Frequency;

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(Frequency.QuadPart);
}

// One TOT in the middle of a pass; everything else filler.
void BuildStream() {
    TsStreamBuilder builder(Stream, sizeof Stream, PacketSize);
    const int packets = int(sizeof Stream / PacketSize);
    builder.AddFillerPackets(packets / 2);
    TimePacketOffset = builder.AddTimePacket(0x73, Time);
    builder.AddFillerPackets(packets - packets / 2 - 1);
    QuellapTestProbe.level = 2;
    QuellapTestProbe.tsStreamResult = TRUE;
    QuellapTestProbe.stream = Stream;
    QuellapTestProbe.streamSize = builder.Size();
    QuellapTestProbe.chunkSize = ChunkSize;
    QuellapTestProbe.streamOffset = 0;
}

void Feed(IBonDriver* driver) {
    BYTE* data = nullptr;
    DWORD size = 0;
    DWORD remain = 0;
    driver->GetTsStream(&data, &size, &remain);
}

// Seconds per GetTsStream call over `passes` passes of the stream.
double TimeCalls(IBonDriver* driver, int passes) {
    QuellapTestProbe.streamOffset = 0;
    const int calls = passes * ChunksPerPass;
    const double start = Now();
    for (int i = 0; i < calls; ++i)
        Feed(driver);
    return (Now() - start) / calls;
}

// Seconds of the call that carries a time packet, the stream being in sync already.
double TimeUpdateCall(IBonDriver* driver) {
    QuellapTestProbe.streamOffset = 0;
    while (QuellapTestProbe.streamOffset + ChunkSize <= TimePacketOffset)
        Feed(driver);
    const double start = Now();
    Feed(driver);
    return Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const int passes = argc > 1 ? atoi(argv[1]) : 20;
    QueryPerformanceFrequency(&Frequency);
    BuildStream();

    WCHAR driverPath[TestPathLength];
    ProgramFilePath(L"test_driver.dll", driverPath);
    const HMODULE driverModule = LoadLibraryW(driverPath);
    WrapperFolder folder(L"bench");
    LoadedWrapper library;
    if (!driverModule || !folder.Place(L"BonDriver_Quellap", L"test_driver.dll") ||
        !library.Load(folder.WrapperPath())) {
        Print("bench_wrapper: cannot load the test driver or the wrapper\n");
        return 1;
    }
    const CreateBonDriverFunction createDriver = reinterpret_cast<CreateBonDriverFunction>(
        GetProcAddress(driverModule, "CreateBonDriver"));
    IBonDriver* direct = createDriver();
    IBonDriver* wrapper = library.Create();
    if (!direct || !wrapper) {
        Print("bench_wrapper: CreateBonDriver failed\n");
        return 1;
    }

    TimeCalls(wrapper, 1);  // synchronised, window started
    TimeCalls(direct, 1);
    const double directCall = TimeCalls(direct, passes);
    const double wrappedCall = TimeCalls(wrapper, passes);
    const double megabytesPerSecond = ChunkSize / wrappedCall / 1e6;
    Print("GetTsStream, %lu-byte chunks from memory, %d calls each:\n", ChunkSize,
          passes * ChunksPerPass);
    Print("  driver directly   %9.0f ns per call\n", directCall * 1e9);
    Print("  through wrapper   %9.0f ns per call (%.0f MB/s)\n", wrappedCall * 1e9,
          megabytesPerSecond);
    Print("  wrapper adds      %9.0f ns per call, %.3f ns per byte\n",
          (wrappedCall - directCall) * 1e9, (wrappedCall - directCall) * 1e9 / ChunkSize);

    // The first update of a fresh wrapper starts the thread and the window; later ones send a
    // trigger only.
    const int rounds = 5;
    double firstTotal = 0;
    double laterTotal = 0;
    for (int round = 0; round < rounds; ++round) {
        wrapper->Release();
        wrapper = library.Create();
        QuellapTestProbe.streamOffset = 0;
        Feed(wrapper);  // 48128 bytes: the analyser synchronises
        firstTotal += TimeUpdateCall(wrapper);
        laterTotal += TimeUpdateCall(wrapper);
    }
    Print("Call carrying a time packet (mean of %d fresh wrappers):\n", rounds);
    Print("  first update      %9.2f ms (starts the notification thread and window)\n",
          firstTotal / rounds * 1e3);
    Print("  later update      %9.2f ms\n", laterTotal / rounds * 1e3);
    Print("  first-update cost %9.2f ms\n", (firstTotal - laterTotal) / rounds * 1e3);

    wrapper->Release();
    direct->Release();
    library.Unload();
    FreeLibrary(driverModule);
    return 0;
}
