// The wrapper's flavour of CTsAnalyzer's constructor, destructor and OnTotUpdated: every decoded
// time is announced by a message-only window that lives on a notification thread of its own,
// started at the first update and ended by the teardown.
#include "ts_analyzer.h"

#include "announce_name.h"

namespace {

// NotifyWindow is written by the notification thread; read it afresh every time.
HWND Current(const HWND& window) { return *static_cast<const volatile HWND*>(&window); }

}  // namespace

CTsAnalyzer::CTsAnalyzer(const WCHAR* name) {
    InitFields(name);
    // Neither result is checked: a zero message id only suppresses the broadcast, a missing event
    // suppresses the notification thread.
    AnnounceMessageId = RegisterWindowMessageW(AnnounceName);
    NotifyReady = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CTsAnalyzer::~CTsAnalyzer() {
    StopAnnouncing();
    if (NotifyReady)
        CloseHandle(NotifyReady);
    OutputDebugStringW(L"CTsAnalyzer::~CTsAnalyzer(): Done\n");
    DeleteCriticalSection(&Lock);
}

// Runs on the streaming thread with Lock held, so it never waits for the window procedure.
void CTsAnalyzer::OnTotUpdated() {
    const SYSTEMTIME& time = Sample.BroadcastTime;
    WCHAR line[256];
    wsprintfW(line, L"CTsAnalyzer::OnTotUpdated(): %04d-%02d-%02dT%02d:%02d:%02d\n", time.wYear,
              time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
    OutputDebugStringW(line);
    if (NotifyReady && !Current(NotifyWindow))
        StartNotifyThread();
    UpdatePending = true;
    const HWND window = Current(NotifyWindow);
    if (window)
        SendNotifyMessageW(window, PublishTrigger, 0, 0);
}

void CTsAnalyzer::StartNotifyThread() {
    if (NotifyThread && !CollectEndedNotifyThread())
        return;
    NotifyThread = CreateThread(nullptr, 0, NotifyThreadProc, this, 0, nullptr);
    if (!NotifyThread)
        return;
    // The thread sets the event once its window exists, or on its way out when it has none.
    WaitForSingleObject(NotifyReady, INFINITE);
    if (!Current(NotifyWindow)) {
        WaitForSingleObject(NotifyThread, NotifyThreadWait);
        CloseHandle(NotifyThread);
        NotifyThread = nullptr;
    }
}

// The window was closed from outside and its thread ended on its own, leaving its end signal set
// and its handle open. Both are taken before a new thread may use the event; false while the old
// thread is not through yet (the next update tries again).
bool CTsAnalyzer::CollectEndedNotifyThread() {
    if (WaitForSingleObject(NotifyReady, NotifyThreadWait) != WAIT_OBJECT_0)
        return false;
    CloseHandle(NotifyThread);
    NotifyThread = nullptr;
    return true;
}

// The thread's last act is setting NotifyReady from outside the library's code (see
// NotifyThreadProc), so once the event is set nothing of the analyser or the library is in use,
// even when the thread itself cannot finish yet because the caller holds the loader lock.
bool CTsAnalyzer::StopAnnouncing() {
    if (!NotifyThread)
        return true;
    const HWND window = Current(NotifyWindow);
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(NotifyReady, NotifyThreadWait) != WAIT_OBJECT_0)
        return false;
    CloseHandle(NotifyThread);
    NotifyThread = nullptr;
    return true;
}
