// What the analyser sees of the stream and how its window announces it: one window for all
// updates, only successful chunks analysed, the driver's own data pointer used, a clean restart
// after the window was closed from outside, and no update lost while a publication runs.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "wrapper_folder.h"

#include <string.h>

namespace {

const WCHAR Name[] = L"BonDriver_Quellap";
const BroadcastTime Time1 = {2007, 11, 23, 13, 25, 14};
const BroadcastTime Time2 = {2007, 11, 23, 13, 25, 20};
const BroadcastTime Time3 = {2008, 2, 29, 23, 59, 59};
const char Syncing[] = "CTsAnalyzer::OnGetTsStream(): Syncing\n";
const char Done[] = "CTsAnalyzer::~CTsAnalyzer(): Done\n";
TestDriverProbe& Probe = QuellapTestProbe;

// A wrapper at level 1 in a folder of its own, fed from the standard stream.
struct Session {
    explicit Session(const WCHAR* scenario) : folder(scenario), wrapper(nullptr) {
        ResetProbe();
        UseStandardStream(Time1);
        CHECK(folder.Place(Name, L"test_driver.dll"));
        CHECK(library.Load(folder.WrapperPath()));
        wrapper = library.Create();
        CHECK(wrapper != nullptr);
    }
    WrapperFolder folder;
    LoadedWrapper library;
    IBonDriver* wrapper;
};

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

// Release is quick, writes the analyser's last line and leaves no window behind.
void ExpectCleanRelease(IBonDriver* wrapper, HWND window) {
    ClearDebugCapture();
    const DWORD start = GetTickCount();
    wrapper->Release();
    CHECK(GetTickCount() - start < 1000);
    CHECK(FindCaptured(Done) >= 0);
    CHECK(!IsWindow(window));
    CHECK_EQ(CountOwnAnnounceWindows(), 0);
}

}  // namespace

void AnnounceScenario() {
    Session session(L"announce");
    if (!session.wrapper)
        return;
    CHECK(OwnAnnounceWindow() == nullptr);  // nothing before the first time
    ClearDebugCapture();
    CHECK(FeedUntilAnnounced(session.wrapper, Time1, Name));
    CHECK(FindCaptured(Syncing) >= 0);
    CHECK_EQ(CountCaptured("CTsAnalyzer::OnTotUpdated(): 2007-11-23T13:25:14\n"), 1);
    const HWND window = OwnAnnounceWindow();
    const DWORD thread = ThreadOf(window);
    CHECK(thread != GetCurrentThreadId());

    // Later updates reuse the window and its thread.
    SetStreamTime(Time2);
    CHECK(FeedUntilAnnounced(session.wrapper, Time2, Name));
    SetStreamTime(Time3);
    CHECK(FeedUntilAnnounced(session.wrapper, Time3, Name));
    CHECK(OwnAnnounceWindow() == window);
    CHECK_EQ(ThreadOf(window), thread);
    CHECK_EQ(CountOwnAnnounceWindows(), 1);

    // Nobody else may change the announcement.
    CHECK_EQ(SendMessageW(window, WM_SETTEXT, 0, LPARAM(L"QUELLAP N00 forged")), FALSE);
    CHECK(WaitForAnnouncement(window, Time3, Name, 0));

    ExpectCleanRelease(session.wrapper, window);
}

void AnalysisScenario() {
    Session session(L"analysis");
    if (!session.wrapper)
        return;
    // A failed GetTsStream delivers nothing to the analyser, whatever the driver wrote.
    Probe.tsStreamResult = FALSE;
    ClearDebugCapture();
    for (DWORD fed = 0; fed < 3 * StandardStreamSize(); fed += Probe.chunkSize) {
        FeedChunk(session.wrapper, 6);
        FeedChunk(session.wrapper, 7);
    }
    CHECK_EQ(CapturedCount(), 0);
    CHECK(OwnAnnounceWindow() == nullptr);

    // Position 6 analyses the chunk at the pointer the driver stored, not the one the caller
    // passed in: here the caller's pointer leads into a stream with another time.
    Probe.tsStreamResult = 5;
    static BYTE decoy[65536];
    const BroadcastTime decoyTime = {1999, 9, 9, 9, 9, 9};
    TsStreamBuilder builder(decoy, sizeof decoy, 188);
    builder.AddFillerPackets(40);
    builder.AddTimePacket(0x70, decoyTime);
    builder.AddFillerPackets(40);
    bool updated = false;
    for (int i = 0; i < 20 && !updated; ++i) {
        BYTE* data = decoy + Probe.streamOffset;
        DWORD size = Probe.chunkSize;
        DWORD remain = 0;
        CHECK_EQ(session.wrapper->GetTsStream(&data, &size, &remain), 5);
        updated = CountCaptured("CTsAnalyzer::OnTotUpdated(): 2007-11-23T13:25:14\n") > 0;
    }
    CHECK(updated);
    CHECK_EQ(CountCaptured("CTsAnalyzer::OnTotUpdated(): 1999-09-09T09:09:09\n"), 0);
    CHECK(WaitForAnnouncement(OwnAnnounceWindow(), Time1, Name, 2000));

    // Position 7 analyses the caller's buffer.
    SetStreamTime(Time2);
    CHECK(FeedUntilAnnounced(session.wrapper, Time2, Name, 7));
    session.wrapper->Release();
}

// A window closed from outside ends its thread; the next update starts a new one at once and
// publishes, and the teardown afterwards is as quick as ever.
void RestartScenario() {
    Session session(L"restart");
    if (!session.wrapper)
        return;
    CHECK(FeedUntilAnnounced(session.wrapper, Time1, Name));
    const BroadcastTime later[] = {Time2, Time3};
    for (const BroadcastTime& time : later) {
        const HWND closed = OwnAnnounceWindow();
        SendMessageW(closed, WM_CLOSE, 0, 0);
        CHECK(WaitForWindowGone(closed, 2000));
        SetStreamTime(time);
        const DWORD start = GetTickCount();
        CHECK(FeedUntilAnnounced(session.wrapper, time, Name));
        CHECK(GetTickCount() - start < 2000);
        CHECK_EQ(CountOwnAnnounceWindows(), 1);
    }
    ExpectCleanRelease(session.wrapper, OwnAnnounceWindow());
}

namespace {

// The publication under way is held while it sets the window text, until the host has stored
// a newer time.
HWND HeldWindow = nullptr;
HANDLE InPublication = nullptr;
HANDLE NewerTimeStored = nullptr;

LRESULT CALLBACK HoldPublication(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && HeldWindow && message->hwnd == HeldWindow &&
        message->message == WM_SETTEXT) {
        HeldWindow = nullptr;
        SetEvent(InPublication);
        WaitForSingleObject(NewerTimeStored, 5000);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void PublishingScenario() {
    Session session(L"publishing");
    if (!session.wrapper)
        return;
    CHECK(FeedUntilAnnounced(session.wrapper, Time1, Name));
    const HWND window = OwnAnnounceWindow();
    InPublication = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    NewerTimeStored = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, HoldPublication, nullptr, ThreadOf(window));
    CHECK(hook != nullptr);

    HeldWindow = window;
    SetStreamTime(Time2);
    CHECK(FeedUntilUpdated(session.wrapper, Time2));
    CHECK_EQ(WaitForSingleObject(InPublication, 5000), WAIT_OBJECT_0);
    SetStreamTime(Time3);
    CHECK(FeedUntilUpdated(session.wrapper, Time3));
    SetEvent(NewerTimeStored);
    // The update that came during the publication of Time2 is published after it.
    CHECK(WaitForAnnouncement(window, Time3, Name, 2000));

    UnhookWindowsHookEx(hook);
    CloseHandle(InPublication);
    CloseHandle(NewerTimeStored);
    session.wrapper->Release();
}
