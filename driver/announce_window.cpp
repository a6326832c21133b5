// The notification thread and its message-only announcement window: on each trigger the window
// sets its own text to the latest time record and broadcasts the time to all top-level windows.
// Any process on the desktop can close or destroy the window or quit its loop; the thread then
// makes a new window at once, which publishes the latest sample. Only the teardown ends it.
#include "ts_analyzer.h"

#include "announce_name.h"
#include "announce_text.h"
#include "broadcast_seconds.h"
#include "own_module.h"

namespace {

// The analyser of the module's one notification thread, taken by that thread for its whole
// life. Kept here, out of the window's reach: other processes can overwrite a window's
// GWLP_USERDATA, but not this.
CTsAnalyzer* volatile Announcer = nullptr;

bool TakeAnnouncer(CTsAnalyzer* analyzer) {
    return InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&Announcer),
                                             analyzer, nullptr) == nullptr;
}

// SetEvent seen as a thread procedure: the same argument and the same stack clean-up, so that
// the thread can end by jumping into it (see NotifyThreadProc).
typedef DWORD(WINAPI* ThreadTail)(LPVOID);

ATOM RegisterNotifyClass(WNDPROC procedure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = OwnModule;
    windowClass.lpszClassName = AnnounceName;
    const ATOM atom = RegisterClassW(&windowClass);
    if (atom || GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return atom;
    // Left behind by an earlier load of the library at the same address.
    return UnregisterClassW(AnnounceName, OwnModule) ? RegisterClassW(&windowClass) : 0;
}

// A quit left in the queue would end the next window's loop at once.
void DiscardQuit() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace

// The last act, setting NotifyEnded, is a tail call: SetEvent returns straight to the system's
// thread start-up code. Whoever waits for the event may unload the library the moment it is set
// (the teardown under the loader lock cannot wait for the thread's end), and no instruction of
// this library runs after it. The thread's exit code is SetEvent's result; nobody reads it.
DWORD WINAPI CTsAnalyzer::NotifyThreadProc(LPVOID analyzer) {
    CTsAnalyzer* const self = static_cast<CTsAnalyzer*>(analyzer);
    if (TakeAnnouncer(self)) {
        self->RunNotifyThread();
        Announcer = nullptr;
    }
    const ThreadTail setEvent = reinterpret_cast<ThreadTail>(&SetEvent);
    [[clang::musttail]] return setEvent(self->NotifyEnded);
}

// One window after the other, until the teardown asks the thread to end or no window can be made.
void CTsAnalyzer::RunNotifyThread() {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from now on
    const ATOM atom = RegisterNotifyClass(NotifyWindowProc);
    bool first = true;
    while (atom) {
        const HWND window = CreateWindowExW(0, MAKEINTATOM(atom), nullptr, 0, 0, 0, 0, 0,
                                            HWND_MESSAGE, nullptr, OwnModule, nullptr);
        NotifyWindow = window;
        if (!window)
            break;
        if (first)
            SetEvent(NotifyReady);
        else
            Republish(window);
        first = false;
        const bool interfered = PumpNotifyMessages();
        NotifyWindow = nullptr;
        DestroyWindow(window);  // fails harmlessly when it is gone already
        DiscardQuit();
        if (!interfered)
            break;
    }
    if (atom)
        UnregisterClassW(MAKEINTATOM(atom), OwnModule);
}

// Dispatches messages until the teardown sets NotifyStop (false) or the loop is told to quit
// (true): by the window's own WM_DESTROY, or by anyone posting WM_QUIT to the thread. One
// message at a time, so that no flood of messages can hold the teardown off.
bool CTsAnalyzer::PumpNotifyMessages() {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &NotifyStop, INFINITE, QS_ALLINPUT,
                                                        MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return true;
            DispatchMessageW(&message);
        }
    }
}

// The new window's text is empty: it publishes the latest sample without waiting for an update.
void CTsAnalyzer::Republish(HWND window) {
    EnterCriticalSection(&Lock);
    UpdatePending = true;
    LeaveCriticalSection(&Lock);
    Publish(window);
}

// The analyser whose current window this is; null for a window that is being replaced.
CTsAnalyzer* CTsAnalyzer::WindowOwner(HWND window) {
    CTsAnalyzer* const analyzer = Announcer;
    return analyzer && analyzer->CurrentNotifyWindow() == window ? analyzer : nullptr;
}

LRESULT CALLBACK CTsAnalyzer::NotifyWindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SETTEXT: {
        // Only the window itself may change the announcement.
        const CTsAnalyzer* const owner = WindowOwner(window);
        if (!owner || !owner->TextChangeAllowed)
            return FALSE;
        break;
    }
    case PublishTrigger:
        if (CTsAnalyzer* const owner = WindowOwner(window))
            owner->Publish(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// UpdatePending is cleared under Lock in the same breath as the sample is copied, so an update
// that arrives while this publication runs sets it again and its trigger publishes that update.
// The text and the broadcast come from the same copy: a receiver of the broadcast that reads the
// window finds this record or a later one.
void CTsAnalyzer::Publish(HWND window) {
    EnterCriticalSection(&Lock);
    const bool pending = UpdatePending;
    UpdatePending = false;
    const TotSample sample = Sample;
    LeaveCriticalSection(&Lock);
    if (!pending)
        return;

    WCHAR text[AnnounceTextCapacity];
    if (sample.ReceivedTick < 0)
        FormatAnnounceNoTimeRecord(text, DriverName);
    else
        FormatAnnounceTimeRecord(text, uint32_t(sample.ReceivedTick),
                                 sample.BroadcastFileTime.dwLowDateTime,
                                 sample.BroadcastFileTime.dwHighDateTime, DriverName);
    TextChangeAllowed = true;
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    TextChangeAllowed = false;

    // A no-time record has no time to broadcast.
    if (AnnounceMessageId && sample.ReceivedTick >= 0)
        PostMessageW(HWND_BROADCAST, AnnounceMessageId, reinterpret_cast<WPARAM>(window),
                     LPARAM(BroadcastSeconds(sample.BroadcastFileTime)));
}
