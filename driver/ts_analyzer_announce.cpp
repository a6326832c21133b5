// The wrapper's announcement of every decoded time: a message-only window that lives on a
// notification thread of its own, started at the first update and ended only by the teardown.
#include "announcer.h"

#include "announce_name.h"

CAnnouncer WindowAnnouncer;

// Runs on the streaming thread with Lock held, so it never waits for the window procedure.
void CTsAnalyzer::Announce() {
    const SYSTEMTIME& time = Sample.BroadcastTime;
    WCHAR line[256];
    wsprintfW(line, L"CTsAnalyzer::OnTotUpdated(): %04d-%02d-%02dT%02d:%02d:%02d\n", time.wYear,
              time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
    OutputDebugStringW(line);
    if (!CurrentNotifyWindow())
        EnsureNotifyThread();
    UpdatePending = true;
    const HWND window = CurrentNotifyWindow();
    if (window)
        SendNotifyMessageW(window, PublishTrigger, 0, 0);
}

// No window exists: before the first update, while the thread replaces a window that was closed
// from outside (it then publishes the pending sample itself, nothing to wait for), or after the
// thread ended because it could not make a window (a new one is started).
void CTsAnalyzer::EnsureNotifyThread() {
    if (NotifyThread) {
        if (WaitForSingleObject(NotifyEnded, 0) != WAIT_OBJECT_0)
            return;
        CloseHandle(NotifyThread);
        NotifyThread = nullptr;
    }
    if (PrepareAnnouncing())
        StartNotifyThread();
}

// Made here, not with the analyser, which the tools make without any announcement, and only
// while no notification thread runs, which reads them. A call that failed is tried again at the
// next update; until then a zero message id suppresses the broadcast, a missing event the thread.
bool CTsAnalyzer::PrepareAnnouncing() {
    if (!AnnounceMessageId)
        AnnounceMessageId = RegisterWindowMessageW(AnnounceName);
    if (!NotifyReady)
        NotifyReady = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!NotifyEnded)
        NotifyEnded = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!NotifyStop)
        NotifyStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return NotifyReady && NotifyEnded && NotifyStop;
}

// Waits only for the new thread's first window, or for its end when it has none.
void CTsAnalyzer::StartNotifyThread() {
    NotifyThread = CreateThread(nullptr, 0, NotifyThreadProc, this, 0, nullptr);
    if (!NotifyThread)
        return;
    const HANDLE signals[] = {NotifyReady, NotifyEnded};
    if (WaitForMultipleObjects(2, signals, FALSE, INFINITE) == WAIT_OBJECT_0)
        return;
    WaitForSingleObject(NotifyThread, NotifyThreadWait);
    CloseHandle(NotifyThread);
    NotifyThread = nullptr;
}

// The thread's last act is setting NotifyEnded from outside the library's code (see
// NotifyThreadProc), so once the event is set nothing of the analyser or the library is in use,
// even when the thread itself cannot finish yet because the caller holds the loader lock.
bool CTsAnalyzer::StopAnnouncing(DWORD bound) {
    if (!NotifyThread)
        return true;
    SetEvent(NotifyStop);
    if (WaitForSingleObject(NotifyEnded, bound) != WAIT_OBJECT_0)
        return false;
    CloseHandle(NotifyThread);
    NotifyThread = nullptr;
    return true;
}

void CTsAnalyzer::EndAnnouncing() {
    StopAnnouncing(NotifyThreadWait);
    const HANDLE events[] = {NotifyReady, NotifyEnded, NotifyStop};
    for (const HANDLE event : events) {
        if (event)
            CloseHandle(event);
    }
}
