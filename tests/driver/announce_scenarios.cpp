// What the analyser sees of the stream and how its window announces it: one window for all
// updates, only successful chunks analysed, the driver's own data pointer used, the window
// replaced at once whatever other processes do to it, and no update lost while a publication
// runs.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "wrapper_folder.h"
#include "wrapper_seams.h"

#include <string.h>

namespace {

const WCHAR Name[] = L"BonDriver_Quellap";
const BroadcastTime Time1 = {2007, 11, 23, 13, 25, 14};
const BroadcastTime Time2 = {2007, 11, 23, 13, 25, 20};
const BroadcastTime Time3 = {2008, 2, 29, 23, 59, 59};
const char Syncing[] = "CTsAnalyzer::OnGetTsStream(): Syncing\n";
const char Done[] = "CTsAnalyzer::~CTsAnalyzer(): Done\n";
TestDriverProbe& Probe = QuellapTestProbe;

// A wrapper at level 1 in a folder of its own, with its seams, fed from the standard stream.
struct Session {
    explicit Session(const WCHAR* scenario) : folder(scenario), wrapper(nullptr) {
        ResetProbe();
        UseStandardStream(Time1);
        CHECK(folder.Place(Name, L"test_driver.dll"));
        CHECK(library.Load(folder.WrapperPath()));
        InstallWrapperSeams(library.Handle());
        wrapper = library.Create();
        CHECK(wrapper != nullptr);
    }
    WrapperFolder folder;
    LoadedWrapper library;
    IBonDriver* wrapper;
};

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

// Release gets the notification thread to end in time (the analyser is destroyed: its last line
// is written) and leaves no window behind.
void ExpectCleanRelease(IBonDriver* wrapper, HWND window) {
    ClearDebugCapture();
    wrapper->Release();
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

namespace {

// What any process on the desktop can do to the window (here from this process, through the
// same calls).
enum Interference { PostClose, SendClose, SendDestroy, PostQuit, OverwriteUserData, Storm };

const UINT StormOver = WM_APP + 0x3F;  // posted to the notification thread after a storm
HANDLE StormSettled = nullptr;

LRESULT CALLBACK SeeStormOver(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == StormOver)
        SetEvent(StormSettled);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// One round of everything at once; the sent WM_DESTROY comes first, so that the last posted
// messages of a storm follow every quit it caused.
void InterfereOnce(Interference kind, HWND window) {
    if (kind == SendDestroy || kind == Storm)
        SendMessageW(window, WM_DESTROY, 0, 0);
    if (kind == OverwriteUserData || kind == Storm)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0x5EED);
    if (kind == PostClose || kind == Storm)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (kind == SendClose)
        SendMessageW(window, WM_CLOSE, 0, 0);
    if (kind == PostQuit || kind == Storm)
        PostThreadMessageW(ThreadOf(window), WM_QUIT, 0, 0);
}

// The last window a storm found, for the host to see it gone.
HWND StormLastWindow = nullptr;

DWORD WINAPI RunStorm(LPVOID) {
    for (int round = 0; round < 100; ++round) {
        const HWND window = OwnAnnounceWindow();
        if (!window)
            continue;
        InterfereOnce(Storm, window);
        StormLastWindow = window;
    }
    return 0;
}

// A storm from another thread while the host keeps feeding; then every message it posted has
// been taken (the marker posted after them has) and its last window is gone.
void RunStormWhileFeeding(IBonDriver* wrapper, DWORD notifyThread) {
    StormSettled = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, SeeStormOver, nullptr, notifyThread);
    CHECK(hook != nullptr);
    const HANDLE storm = CreateThread(nullptr, 0, RunStorm, nullptr, 0, nullptr);
    CHECK(storm != nullptr);
    while (storm && WaitForSingleObject(storm, 0) == WAIT_TIMEOUT)
        FeedChunk(wrapper);
    ClearDebugCapture();  // room for the lines of the next updates, however long the storm took
    PostThreadMessageW(notifyThread, StormOver, 0, 0);
    CHECK_EQ(WaitForSingleObject(StormSettled, 30000), WAIT_OBJECT_0);
    CHECK(WaitForWindowGone(StormLastWindow, 30000));
    UnhookWindowsHookEx(hook);
    CloseHandle(storm);
    CloseHandle(StormSettled);
}

// The interference is over once it has taken its effect: the window it replaces is gone.
void Interfere(Interference kind, IBonDriver* wrapper, HWND window) {
    if (kind == Storm) {
        RunStormWhileFeeding(wrapper, ThreadOf(window));
        return;
    }
    InterfereOnce(kind, window);
    if (kind != OverwriteUserData)
        CHECK(WaitForWindowGone(window, 30000));
}

// After any interference the next updates are announced by exactly one window, no update makes
// the stream wait, the release is clean and the library, loaded again, announces.
void ExpectAnnouncingAfter(Interference kind) {
    Session session(L"interference");
    if (!session.wrapper)
        return;
    CHECK(FeedUntilAnnounced(session.wrapper, Time1, Name));
    WatchWrapperWaits();
    Interfere(kind, session.wrapper, OwnAnnounceWindow());
    SetStreamTime(Time2);
    CHECK(FeedUntilAnnounced(session.wrapper, Time2, Name));
    const HWND window = OwnAnnounceWindow();
    SetStreamTime(Time3);
    CHECK(FeedUntilAnnounced(session.wrapper, Time3, Name));
    CHECK(OwnAnnounceWindow() == window);
    CHECK_EQ(CountOwnAnnounceWindows(), 1);
    CHECK_EQ(BlockingWaitsSeen(), 0);
    ExpectCleanRelease(session.wrapper, window);

    session.library.Unload();
    CHECK(session.library.Load(session.folder.WrapperPath()));
    IBonDriver* again = session.library.Create();
    CHECK(again != nullptr);
    if (!again)
        return;
    SetStreamTime(Time1);
    CHECK(FeedUntilAnnounced(again, Time1, Name));
    again->Release();
}

// An update that races the interference: the notification thread is held inside the dying
// window's WM_DESTROY, or between the old window and the new one, while the update arrives.
// The new window publishes it without another update.
void ExpectRacingUpdatePublished(HeldCall held) {
    Session session(L"interference-race");
    if (!session.wrapper)
        return;
    CHECK(FeedUntilAnnounced(session.wrapper, Time1, Name));
    const HWND window = OwnAnnounceWindow();
    WatchWrapperWaits();
    const HANDLE holding = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const HANDLE goOn = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HoldNextCall(held, holding, goOn);
    PostMessageW(window, WM_CLOSE, 0, 0);
    CHECK_EQ(WaitForSingleObject(holding, 30000), WAIT_OBJECT_0);
    SetStreamTime(Time2);
    CHECK(FeedUntilUpdated(session.wrapper, Time2));
    SetEvent(goOn);
    CHECK(WaitForAnnouncement(nullptr, Time2, Name, 30000));
    CHECK_EQ(CountOwnAnnounceWindows(), 1);
    CHECK_EQ(BlockingWaitsSeen(), 0);
    ExpectCleanRelease(session.wrapper, OwnAnnounceWindow());
    CloseHandle(holding);
    CloseHandle(goOn);
}

}  // namespace

void InterferenceScenario() {
    const Interference kinds[] = {PostClose, SendClose,         SendDestroy,
                                  PostQuit,  OverwriteUserData, Storm};
    for (Interference kind : kinds)
        ExpectAnnouncingAfter(kind);
    ExpectRacingUpdatePublished(HoldPostQuitMessage);
    ExpectRacingUpdatePublished(HoldCreateWindow);
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
