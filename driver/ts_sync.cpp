// Packet framing: finds the packet size in a 4096-byte window of fresh bytes, then follows the
// packet boundaries across chunks and hands every packet whose own sync byte and whose
// successor's sync byte are both present to ProcessPacket (the packets on other PIDs than the
// time tables' are left out at once, as ProcessPacket would ignore them).
#include "ts_analyzer.h"

#include "sync_byte_map.h"
#include "time_table_pid.h"

#include <stddef.h>
#include <string.h>

static_assert(int(SyncMapBytes) == int(CTsAnalyzer::WindowSize), "the map covers the detection window");
static_assert(int(MinPairDistance) == int(CTsAnalyzer::MinPacketSize), "pairs are counted at packet sizes");
static_assert(int(MaxPairDistance) == int(CTsAnalyzer::MaxPacketSize), "pairs are counted at packet sizes");

namespace {

// A detected size needs this many coincidences at its distance...
const int32_t MinCoincidences = 8;

// ...and nearly every packet start in the window must show one.
bool EnoughCoincidences(int32_t count, int32_t distance) {
    return count >= MinCoincidences && (count + 2) * distance >= CTsAnalyzer::WindowSize;
}

// Non-zero when the packet at `packet` needs more than a glance: the sync byte one packet
// further on is missing, or it is on the time tables' PID.
unsigned NeedsAttention(const BYTE* packet, int32_t size) {
    return unsigned(packet[size] ^ CTsAnalyzer::SyncByte) | unsigned(IsTimeTablePid(packet));
}

const size_t QuietGroupSize = 4;

// True when none of the QuietGroupSize packets from `first` on needs attention.
bool IsQuietGroup(const BYTE* first, int32_t size) {
    return (NeedsAttention(first, size) | NeedsAttention(first + size, size) |
            NeedsAttention(first + 2 * size, size) | NeedsAttention(first + 3 * size, size)) == 0;
}

// The loop reads one cache line per packet, a stride that the processor's own prefetching
// follows only in part: the line a few groups ahead is asked for early.
const ptrdiff_t PrefetchGroups = 4;

void PrefetchAhead(const BYTE* p, const BYTE* end, ptrdiff_t distance) {
#if defined(__GNUC__)
    if (end - p > distance)
        __builtin_prefetch(p + distance);
#endif
}

}  // namespace

void CTsAnalyzer::OnGetTsStream(const BYTE* data, DWORD size) {
    if (Synced)
        TakeSynchronised(data, size);
    else
        TakeUnsynchronised(data, size);
}

// Slides the chunk's last bytes into the window; every 4096 fresh bytes, one detection attempt.
void CTsAnalyzer::TakeUnsynchronised(const BYTE* data, DWORD size) {
    const int32_t n = size < DWORD(WindowSize) ? int32_t(size) : WindowSize;
    if (n > 0) {
        memmove(SyncWindow, SyncWindow + n, size_t(WindowSize - n));
        memcpy(SyncWindow + WindowSize - n, data + (size - DWORD(n)), size_t(n));
        WindowFill += n;
    }
    if (WindowFill < WindowSize)
        return;
    OutputDebugStringW(L"CTsAnalyzer::OnGetTsStream(): Syncing\n");
    PacketSize = DetectPacketSize(SyncWindow);
    if (PacketSize >= MinPacketSize && PacketSize <= MaxPacketSize + 1) {
        const int first = ConfirmSync(SyncWindow, PacketSize);
        if (first >= 0) {
            // The packets inside the window are passed over; the one cut off by its end is
            // completed by the next chunk.
            const int32_t tail = (WindowSize - first) % PacketSize;
            memcpy(PacketBuffer, SyncWindow + WindowSize - tail, size_t(tail));
            PacketFill = tail;
            Synced = true;
        }
    }
    WindowFill = 0;
}

// Completes the straddling packet, examines the packets that lie in the chunk in place, and
// carries the last, still unconfirmed one.
void CTsAnalyzer::TakeSynchronised(const BYTE* data, DWORD size) {
    const int32_t packetSize = PacketSize;
    const DWORD need = DWORD(packetSize + 1 - PacketFill);
    const DWORD n = size < need ? size : need;
    if (n > 0) {
        memcpy(PacketBuffer + PacketFill, data, n);
        PacketFill += int32_t(n);
    }
    if (PacketFill != packetSize + 1)
        return;
    if (PacketBuffer[0] != SyncByte || PacketBuffer[packetSize] != SyncByte) {
        Synced = false;
        return;
    }
    if (IsTimeTablePid(PacketBuffer))
        ProcessPacket(PacketBuffer);
    // p[0] is always a sync byte already checked: first PacketBuffer's last byte, then the
    // successor's sync byte tested in the loop before.
    const BYTE* p = data + n - 1;
    const BYTE* const end = data + size;
    // The packets whose successor's sync byte lies in the chunk, front to back; groups in
    // which nothing happens are passed over with one test.
    const ptrdiff_t groupSpan = ptrdiff_t(QuietGroupSize) * packetSize;
    while (end - p > packetSize) {
        PrefetchAhead(p, end, PrefetchGroups * groupSpan);
        if (end - p > groupSpan && IsQuietGroup(p, packetSize)) {
            p += groupSpan;
            continue;
        }
        if (p[packetSize] != SyncByte) {
            Synced = false;
            return;
        }
        if (IsTimeTablePid(p))  // ProcessPacket ignores every other PID
            ProcessPacket(p);
        p += packetSize;
    }
    PacketFill = int32_t(end - p);
    memcpy(PacketBuffer, p, size_t(PacketFill));
}

int CTsAnalyzer::DetectPacketSize(const BYTE* window) {
    SyncByteMap map;
    BuildSyncByteMap(window, map);
    int32_t counts[PairDistanceCount];
    CountSyncPairs(map, counts);
    int32_t best = 0;
    int32_t bestCount = 0;
    for (int32_t distance = MinPacketSize; distance <= MaxPacketSize; ++distance) {
        if (counts[distance - MinPacketSize] > bestCount) {  // ties keep the smaller distance
            bestCount = counts[distance - MinPacketSize];
            best = distance;
        }
    }
    return EnoughCoincidences(bestCount, best) ? best : 0;
}

int CTsAnalyzer::ConfirmSync(const BYTE* window, int size) {
    SyncByteMap map;
    BuildSyncByteMap(window, map);
    // The strict bound leaves a whole packet and one byte after the eighth sync byte.
    return FindSyncRun(map, size, WindowSize - SyncRunLength * size);
}
