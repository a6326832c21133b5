// libFuzzer target over CTsAnalyzer::OnGetTsStream. Input: one byte n, then n % 16 split
// bytes, then the stream. The stream is fed in chunks whose sizes cycle through the split
// bytes (below 200: that many bytes; from 200: (value - 200) * 512 bytes, past the window's
// 4096), or in one chunk when there are none. After every chunk the framing state must be
// consistent, and at the end the samples stored must be exactly those of the time-table
// packets that the byte-wise statement of the rules selects.
#include "analyzer_probe.h"
#include "filetime.h"
#include "framing_reference.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

namespace {

void Fail(const char* what) {
    fprintf(stderr, "stream_fuzzer: %s\n", what);
    abort();
}

void CheckFraming(const CTsAnalyzer& analyzer) {
    const int32_t windowFill = TsAnalyzerProbe::WindowFill(analyzer);
    if (windowFill < 0 || windowFill >= 4096)
        Fail("WindowFill out of range");
    if (!TsAnalyzerProbe::Synced(analyzer))
        return;
    const int32_t size = TsAnalyzerProbe::PacketSize(analyzer);
    const int32_t fill = TsAnalyzerProbe::PacketFill(analyzer);
    if (size < 188 || size > 319 || fill < 0 || fill > size || windowFill != 0)
        Fail("synchronised state out of range");
}

void CheckSample(const TotSample& sample) {
    FILETIME expected;
    if (sample.ReceivedTick < 0 || !CalendarToFileTime(sample.BroadcastTime, expected) ||
        expected.dwLowDateTime != sample.BroadcastFileTime.dwLowDateTime ||
        expected.dwHighDateTime != sample.BroadcastFileTime.dwHighDateTime)
        Fail("inconsistent sample");
}

std::vector<size_t> Chunks(const uint8_t* splits, size_t splitCount, size_t total) {
    if (splitCount == 0)
        return {total};
    std::vector<size_t> chunks;
    size_t used = 0;
    size_t usedAtCycleStart = 0;
    for (size_t k = 0; used < total; ++k) {
        const uint8_t split = splits[k % splitCount];
        const size_t size = std::min(total - used, split < 200 ? size_t(split) : size_t(split - 200) * 512);
        chunks.push_back(size);
        used += size;
        if (k % splitCount == splitCount - 1) {
            if (used == usedAtCycleStart) {  // only empty chunks: the rest in one
                chunks.push_back(total - used);
                break;
            }
            usedAtCycleStart = used;
        }
    }
    return chunks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t splitCount = std::min<size_t>(data[0] % 16, size - 1);
    const uint8_t* splits = data + 1;
    const std::vector<uint8_t> stream(data + 1 + splitCount, data + size);
    const std::vector<size_t> chunks = Chunks(splits, splitCount, stream.size());

    SampleRecorder recorder;
    {
        CTsAnalyzer analyzer(L"fuzz", recorder);
        size_t at = 0;
        for (size_t chunk : chunks) {
            analyzer.OnGetTsStream(chunk ? stream.data() + at : nullptr, DWORD(chunk));
            at += chunk;
            CheckFraming(analyzer);
        }
    }
    std::vector<FILETIME> expected;
    for (int64_t offset : ReferenceExaminedPackets(stream, chunks)) {
        BYTE tableId;
        SYSTEMTIME time;
        FILETIME fileTime;
        if (CTsAnalyzer::ReadTimePacket(stream.data() + offset, tableId, time, fileTime))
            expected.push_back(fileTime);
    }
    if (expected.size() != recorder.samples.size())
        Fail("number of samples differs from the rules");
    for (size_t i = 0; i < expected.size(); ++i) {
        CheckSample(recorder.samples[i]);
        if (expected[i].dwLowDateTime != recorder.samples[i].BroadcastFileTime.dwLowDateTime ||
            expected[i].dwHighDateTime != recorder.samples[i].BroadcastFileTime.dwHighDateTime)
            Fail("sample differs from the rules");
    }
    return 0;
}
