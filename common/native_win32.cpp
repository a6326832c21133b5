// Native stand-ins for the Win32 calls that the portable logic makes (see win32_types.h).
#include "native_win32_hooks.h"

#include "filetime.h"

#include <pthread.h>
#include <time.h>

#include <atomic>

static_assert(sizeof(pthread_mutex_t) <= sizeof(CRITICAL_SECTION::Storage), "mutex must fit");
static_assert(alignof(pthread_mutex_t) <= alignof(CRITICAL_SECTION), "mutex must be aligned");

namespace {

pthread_mutex_t* MutexOf(CRITICAL_SECTION* section) {
    return reinterpret_cast<pthread_mutex_t*>(section->Storage);
}

// A fixed tick sequence set by a test, or the monotonic clock.
std::atomic<bool> UseFixedTicks{false};
std::atomic<DWORD> NextTick{0};
std::atomic<DWORD> TickStep{0};

NativeDebugSink DebugSink = nullptr;
void* DebugSinkContext = nullptr;

}  // namespace

// Windows critical sections may be entered again by the thread that owns them.
void InitializeCriticalSection(CRITICAL_SECTION* section) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(MutexOf(section), &attributes);
    pthread_mutexattr_destroy(&attributes);
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    pthread_mutex_lock(MutexOf(section));
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    pthread_mutex_unlock(MutexOf(section));
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
    pthread_mutex_destroy(MutexOf(section));
}

DWORD GetTickCount() {
    if (UseFixedTicks.load())
        return NextTick.fetch_add(TickStep.load());
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return DWORD(uint64_t(now.tv_sec) * 1000 + uint64_t(now.tv_nsec) / 1000000);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime) {
    return CalendarToFileTime(*systemTime, *fileTime) ? TRUE : FALSE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
    return FileTimeToCalendar(*fileTime, *systemTime) ? TRUE : FALSE;
}

void OutputDebugStringW(const WCHAR* text) {
    if (DebugSink)
        DebugSink(DebugSinkContext, text);
}

void NativeSetTickCount(DWORD tick, DWORD step) {
    NextTick.store(tick);
    TickStep.store(step);
    UseFixedTicks.store(true);
}

void NativeUseRealTickCount() {
    UseFixedTicks.store(false);
}

void NativeSetDebugSink(NativeDebugSink sink, void* context) {
    DebugSink = sink;
    DebugSinkContext = context;
}
