// The notification thread and its message-only announcement window: on each trigger the window
// sets its own text to the latest time record and broadcasts the time to all top-level windows.
#include "ts_analyzer.h"

#include "announce_name.h"
#include "announce_text.h"
#include "broadcast_seconds.h"
#include "own_module.h"

namespace {

// SetEvent seen as a thread procedure: the same argument and the same stack clean-up, so that
// the thread can end by jumping into it (see NotifyThreadProc).
typedef DWORD(WINAPI* ThreadTail)(LPVOID);

}  // namespace

// The last act, setting NotifyReady, is a tail call: SetEvent returns straight to the system's
// thread start-up code. Whoever waits for the event may unload the library the moment it is set
// (the teardown under the loader lock cannot wait for the thread's end), and no instruction of
// this library runs after it. The thread's exit code is SetEvent's result; nobody reads it.
DWORD WINAPI CTsAnalyzer::NotifyThreadProc(LPVOID analyzer) {
    CTsAnalyzer* const self = static_cast<CTsAnalyzer*>(analyzer);
    self->RunNotifyWindow();
    const ThreadTail setEvent = reinterpret_cast<ThreadTail>(&SetEvent);
    [[clang::musttail]] return setEvent(self->NotifyReady);
}

void CTsAnalyzer::RunNotifyWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = NotifyWindowProc;
    windowClass.hInstance = OwnModule;
    windowClass.lpszClassName = AnnounceName;
    const ATOM atom = RegisterClassW(&windowClass);
    if (atom) {
        const HWND window = CreateWindowExW(0, MAKEINTATOM(atom), nullptr, 0, 0, 0, 0, 0,
                                            HWND_MESSAGE, nullptr, OwnModule, this);
        NotifyWindow = window;
        if (window) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from now on
            SetEvent(NotifyReady);
            while (GetMessageW(&message, nullptr, 0, 0) > 0)
                DispatchMessageW(&message);
        }
    }
    NotifyWindow = nullptr;
    if (atom)
        UnregisterClassW(MAKEINTATOM(atom), OwnModule);
}

LRESULT CALLBACK CTsAnalyzer::NotifyWindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    CTsAnalyzer* const self =
        reinterpret_cast<CTsAnalyzer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SETTEXT:
        // Only the window itself may change the announcement.
        if (!self || !self->TextChangeAllowed)
            return FALSE;
        break;
    case PublishTrigger:
        if (self)
            self->Publish(window);
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
