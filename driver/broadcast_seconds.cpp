#include "broadcast_seconds.h"

#include "filetime.h"

namespace {

const int64_t UnixEpochFileTime = 116444736000000000LL;  // 1970-01-01 in 100-ns units since 1601
const int64_t FileTimePerSecond = 10000000;

}  // namespace

int32_t BroadcastSeconds(const FILETIME& fileTime) {
    const int64_t ticks = int64_t(FileTimeValue(fileTime));
    // Signed division truncates toward zero; the low 32 bits are what the message carries.
    return int32_t(uint32_t((ticks - UnixEpochFileTime) / FileTimePerSecond));
}
