// The hand-shake between the test host and the announcement reader, a separate process: the
// host names both events after its process id and passes the expected times on the reader's
// command line as `YYYY-MM-DDThh:mm:ss=SECONDS`.
#pragma once

#include <windows.h>

// Set by the reader when it is ready, after each time it has checked and after its checks of
// the finished window; auto-reset.
inline void ReaderAckEventName(DWORD hostProcess, WCHAR (&name)[64]) {
    wsprintfW(name, L"Local\\quellap-reader-%lu-ack", hostProcess);
}

// Set by the host once it has released the wrapper; manual reset.
inline void ReaderReleasedEventName(DWORD hostProcess, WCHAR (&name)[64]) {
    wsprintfW(name, L"Local\\quellap-reader-%lu-released", hostProcess);
}
