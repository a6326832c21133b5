#include "stream_pull.h"

#include "console_print.h"

namespace {

struct PullCounts {
    DWORD chunks = 0;  // TRUE results with data
    DWORD empty = 0;   // TRUE results with 0 bytes
    DWORD failed = 0;  // FALSE results
    unsigned long long bytes = 0;

    void Add(BOOL result, DWORD size) {
        if (!result) {
            ++failed;
            return;
        }
        ++(size ? chunks : empty);
        bytes += size;
    }
};

const DWORD CopyBufferBytes = 1048576;  // the file driver's largest ChunkBytes
BYTE CopyBuffer[CopyBufferBytes];

// Each line in one write, so that a reader never sees half of one.
void PrintProgress(DWORD second, const PullCounts& c) {
    Print("progress: second=%lu chunks=%lu bytes=%I64u empty=%lu false=%lu\n", second, c.chunks,
          c.bytes, c.empty, c.failed);
}

void PrintSummary(DWORD ms, const PullCounts& c, bool stoppedByFalse) {
    Print("summary: ms=%lu chunks=%lu bytes=%I64u empty=%lu false=%lu end=%s\n", ms, c.chunks,
          c.bytes, c.empty, c.failed, stoppedByFalse ? "false" : "time");
}

// One GetTsStream through the chosen overload; `data` receives where the bytes are.
BOOL GetChunk(IBonDriver* driver, bool copy, const BYTE*& data, DWORD& size) {
    DWORD remain = 0;
    size = 0;
    if (copy) {
        data = CopyBuffer;
        return driver->GetTsStream(CopyBuffer, &size, &remain);
    }
    BYTE* pointer = nullptr;
    const BOOL result = driver->GetTsStream(&pointer, &size, &remain);
    data = pointer;
    return result;
}

bool Save(HANDLE file, const BYTE* data, DWORD size) {
    DWORD written = 0;
    return !file || (WriteFile(file, data, size, &written, nullptr) && written == size);
}

}  // namespace

bool PullStream(IBonDriver* driver, const BonhostOptions& options, HANDLE save) {
    const DWORD duration = options.Seconds * 1000;
    const DWORD start = GetTickCount();
    PullCounts total;
    PullCounts second;
    DWORD nextReport = 1000;  // ms after the start
    bool stoppedByFalse = false;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        for (; elapsed >= nextReport && nextReport <= duration; nextReport += 1000) {
            PrintProgress(nextReport / 1000, second);
            second = PullCounts();
        }
        if (elapsed >= duration)
            break;
        driver->WaitTsStream(nextReport - elapsed);
        const BYTE* data = nullptr;
        DWORD size = 0;
        const BOOL result = GetChunk(driver, options.CopyOverload, data, size);
        total.Add(result, size);
        second.Add(result, size);
        if (result && size && !Save(save, data, size))
            return false;
        if (!result && options.UntilFalse) {
            stoppedByFalse = true;
            break;
        }
        if (!result)
            Sleep(10);  // a failing driver answers at once
    }
    PrintSummary(GetTickCount() - start, total, stoppedByFalse);
    return true;
}
