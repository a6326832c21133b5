#include "wrapper_seams.h"

#include "import_patch.h"

namespace {

typedef DWORD(WINAPI* WaitOneFunction)(HANDLE, DWORD);
typedef DWORD(WINAPI* WaitManyFunction)(DWORD, const HANDLE*, BOOL, DWORD);
typedef void(WINAPI* PostQuitFunction)(int);
typedef decltype(&CreateWindowExW) CreateWindowFunction;

WaitOneFunction RealWaitOne = nullptr;
WaitManyFunction RealWaitMany = nullptr;
PostQuitFunction RealPostQuit = nullptr;
CreateWindowFunction RealCreateWindow = nullptr;

DWORD WatchingThread = 0;
volatile LONG BlockingWaits = 0;
volatile DWORD LatestLimit = 0;
volatile bool Expire = false;
HANDLE Waiting = nullptr;

volatile LONG HoldArmed = 0;  // the held call plus one, 0 for none
HANDLE Held = nullptr;
HANDLE GoOn = nullptr;

// True when the wait is to expire at once.
bool NoteWait(DWORD limit) {
    LatestLimit = limit;
    if (limit == 0)
        return false;
    if (GetCurrentThreadId() == WatchingThread)
        InterlockedIncrement(&BlockingWaits);
    if (Waiting)
        SetEvent(Waiting);
    return Expire && limit != INFINITE;
}

DWORD WINAPI SeamWaitOne(HANDLE handle, DWORD limit) {
    return NoteWait(limit) ? WAIT_TIMEOUT : RealWaitOne(handle, limit);
}

DWORD WINAPI SeamWaitMany(DWORD count, const HANDLE* handles, BOOL all, DWORD limit) {
    return NoteWait(limit) ? WAIT_TIMEOUT : RealWaitMany(count, handles, all, limit);
}

void HoldHere(HeldCall call) {
    if (InterlockedCompareExchange(&HoldArmed, 0, call + 1) == LONG(call + 1)) {
        SetEvent(Held);
        WaitForSingleObject(GoOn, 30000);
    }
}

void WINAPI HeldPostQuit(int code) {
    HoldHere(HoldPostQuitMessage);
    RealPostQuit(code);
}

HWND WINAPI HeldCreateWindow(DWORD exStyle, const WCHAR* className, const WCHAR* title,
                             DWORD style, int x, int y, int width, int height, HWND parent,
                             HMENU menu, HINSTANCE instance, void* parameter) {
    HoldHere(HoldCreateWindow);
    return RealCreateWindow(exStyle, className, title, style, x, y, width, height, parent, menu,
                            instance, parameter);
}

// Patches one import; the function it pointed at before goes to `real`.
template <class Function>
void Patch(HMODULE wrapper, const char* dll, const char* name, Function seam, Function& real) {
    void* const previous = PatchImport(wrapper, dll, name, reinterpret_cast<void*>(seam));
    if (previous && previous != reinterpret_cast<void*>(seam))
        real = reinterpret_cast<Function>(previous);
}

}  // namespace

void InstallWrapperSeams(HMODULE wrapper) {
    Patch(wrapper, "kernel32.dll", "WaitForSingleObject", &SeamWaitOne, RealWaitOne);
    Patch(wrapper, "kernel32.dll", "WaitForMultipleObjects", &SeamWaitMany, RealWaitMany);
    Patch(wrapper, "user32.dll", "PostQuitMessage", &HeldPostQuit, RealPostQuit);
    Patch(wrapper, "user32.dll", "CreateWindowExW", &HeldCreateWindow, RealCreateWindow);
}

void WatchWrapperWaits() {
    WatchingThread = GetCurrentThreadId();
    BlockingWaits = 0;
}

LONG BlockingWaitsSeen() { return BlockingWaits; }

DWORD LatestWaitLimit() { return LatestLimit; }

void ExpireBoundedWaits(bool on, HANDLE waiting) {
    Waiting = waiting;
    Expire = on;
}

void HoldNextCall(HeldCall call, HANDLE held, HANDLE goOn) {
    Held = held;
    GoOn = goOn;
    HoldArmed = call + 1;
}
