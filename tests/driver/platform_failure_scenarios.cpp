// The announcement when a platform call fails: the wrapper's own imports are redirected to
// stand-ins that fail (once, or for good), and the stream must keep flowing while the next
// update retries what failed.
#include "announce_name.h"
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "import_patch.h"
#include "wrapper_folder.h"

namespace {

const WCHAR Name[] = L"BonDriver_Quellap";
const BroadcastTime Time1 = {2007, 11, 23, 13, 25, 14};
const BroadcastTime Time2 = {2007, 11, 23, 13, 25, 20};
const char Done[] = "CTsAnalyzer::~CTsAnalyzer(): Done\n";

// How many more calls of a patched function fail before it passes calls on again.
volatile LONG FailuresLeft = 0;
void* RealFunction = nullptr;

bool FailNow() { return InterlockedDecrement(&FailuresLeft) >= 0; }

HANDLE WINAPI FailingCreateEventW(SECURITY_ATTRIBUTES*, BOOL, BOOL, const WCHAR*) {
    return nullptr;
}

UINT WINAPI FailingRegisterWindowMessageW(const WCHAR*) { return 0; }

HANDLE WINAPI FailingCreateThread(SECURITY_ATTRIBUTES* security, SIZE_T stack,
                                  LPTHREAD_START_ROUTINE start, void* parameter, DWORD flags,
                                  DWORD* id) {
    if (FailNow())
        return nullptr;
    return reinterpret_cast<decltype(&CreateThread)>(RealFunction)(security, stack, start,
                                                                   parameter, flags, id);
}

HWND WINAPI FailingCreateWindowExW(DWORD exStyle, const WCHAR* className, const WCHAR* title,
                                   DWORD style, int x, int y, int width, int height, HWND parent,
                                   HMENU menu, HINSTANCE instance, void* parameter) {
    if (FailNow())
        return nullptr;
    return reinterpret_cast<decltype(&CreateWindowExW)>(RealFunction)(
        exStyle, className, title, style, x, y, width, height, parent, menu, instance, parameter);
}

// A wrapper whose import `function` of `dll` is redirected to `replacement`, patched before
// CreateBonDriver so that the analyser's constructor sees it too.
struct PatchedSession {
    PatchedSession(const WCHAR* scenario, const char* dll, const char* function,
                   void* replacement)
        : folder(scenario), dll(dll), function(function), wrapper(nullptr) {
        ResetProbe();
        UseStandardStream(Time1);
        CHECK(folder.Place(Name, L"test_driver.dll"));
        CHECK(library.Load(folder.WrapperPath()));
        RealFunction = PatchImport(library.Handle(), dll, function, replacement);
        CHECK(RealFunction != nullptr);
        wrapper = library.Create();
        CHECK(wrapper != nullptr);
    }
    ~PatchedSession() {
        if (wrapper)
            wrapper->Release();
        if (RealFunction)
            PatchImport(library.Handle(), dll, function, RealFunction);
        RealFunction = nullptr;
    }
    WrapperFolder folder;
    LoadedWrapper library;
    const char* dll;
    const char* function;
    IBonDriver* wrapper;
};

// A top-level window of this process that counts the broadcasts of its own announcement
// windows (message-only windows cannot receive broadcasts).
UINT AnnounceMessage = 0;
int BroadcastsSeen = 0;

LRESULT CALLBACK CountBroadcasts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == AnnounceMessage && reinterpret_cast<HWND>(wParam) == OwnAnnounceWindow())
        ++BroadcastsSeen;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateBroadcastCounter() {
    AnnounceMessage = RegisterWindowMessageW(AnnounceName);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountBroadcasts;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuellapBroadcastCounter";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
}

// Broadcasts seen while `wrapper` announces `time`.
int BroadcastsOfAnnouncement(IBonDriver* wrapper, const BroadcastTime& time) {
    BroadcastsSeen = 0;
    CHECK(FeedUntilAnnounced(wrapper, time, Name));
    PumpFor(300);
    return BroadcastsSeen;
}

}  // namespace

void PlatformFailuresScenario() {
    // Without its event the analyser starts no thread: updates are reported, nothing is
    // published, and the teardown has nothing to wait for.
    {
        PatchedSession session(L"no-event", "kernel32.dll", "CreateEventW",
                               reinterpret_cast<void*>(&FailingCreateEventW));
        if (session.wrapper) {
            CHECK(FeedUntilUpdated(session.wrapper, Time1));
            CHECK(FeedUntilUpdated(session.wrapper, Time1));
            CHECK(OwnAnnounceWindow() == nullptr);
            ClearDebugCapture();
            session.wrapper->Release();
            session.wrapper = nullptr;
            CHECK(FindCaptured(Done) >= 0);
        }
    }

    // A thread that cannot be created, or that cannot create its window, costs that update's
    // publication only; the next update starts afresh.
    struct OnceFailing {
        const WCHAR* scenario;
        const char* dll;
        const char* function;
        void* replacement;
    };
    const OnceFailing onceFailing[] = {
        {L"no-thread", "kernel32.dll", "CreateThread",
         reinterpret_cast<void*>(&FailingCreateThread)},
        {L"no-window", "user32.dll", "CreateWindowExW",
         reinterpret_cast<void*>(&FailingCreateWindowExW)},
    };
    for (const OnceFailing& failing : onceFailing) {
        FailuresLeft = 1;
        PatchedSession session(failing.scenario, failing.dll, failing.function,
                               failing.replacement);
        if (!session.wrapper)
            continue;
        const DWORD start = GetTickCount();
        CHECK(FeedUntilUpdated(session.wrapper, Time1));
        CHECK(GetTickCount() - start < 5000);
        CHECK(OwnAnnounceWindow() == nullptr);
        SetStreamTime(Time2);
        CHECK(FeedUntilAnnounced(session.wrapper, Time2, Name));
    }

    // Without the registered message the text is still published, only the broadcast is not;
    // a wrapper with it broadcasts to this process's own top-level window.
    const HWND counter = CreateBroadcastCounter();
    CHECK(counter != nullptr);
    {
        ResetProbe();
        UseStandardStream(Time1);
        WrapperFolder folder(L"broadcast");
        CHECK(folder.Place(Name, L"test_driver.dll"));
        LoadedWrapper library;
        CHECK(library.Load(folder.WrapperPath()));
        IBonDriver* wrapper = library.Create();
        CHECK(wrapper != nullptr);
        if (wrapper) {
            CHECK(BroadcastsOfAnnouncement(wrapper, Time1) > 0);
            wrapper->Release();
        }
    }
    {
        PatchedSession session(L"no-message", "user32.dll", "RegisterWindowMessageW",
                               reinterpret_cast<void*>(&FailingRegisterWindowMessageW));
        if (session.wrapper) {
            CHECK_EQ(BroadcastsOfAnnouncement(session.wrapper, Time1), 0);
            SetStreamTime(Time2);
            CHECK_EQ(BroadcastsOfAnnouncement(session.wrapper, Time2), 0);
        }
    }
    DestroyWindow(counter);
}
