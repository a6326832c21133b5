// The announcement as another process sees it. Started by the test host's reader scenario:
//   announce_reader HOST_PID SOURCE_NAME YYYY-MM-DDThh:mm:ss=SECONDS...
// For each expected time it waits for the broadcast from one of the host's announcement windows,
// checks lParam, finds the window among the message-only windows of its class and checks every
// field of its text at its fixed position; then it tries to change the text and to trigger a
// publication, and after the host's Release it sees the window gone.
#include "announce_name.h"
#include "check.h"
#include "reader_protocol.h"

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

struct Expected {
    SYSTEMTIME time;
    LONG seconds;
};

struct Broadcast {
    HWND window;
    LONG seconds;
};

const DWORD Patience = 30000;  // ms for anything the host has to do first
const int MaxExpected = 8;
const int MaxBroadcasts = 256;

DWORD HostProcess = 0;
const WCHAR* SourceName = L"";
Expected Times[MaxExpected];
int TimeCount = 0;

UINT AnnounceMessage = 0;
Broadcast Received[MaxBroadcasts];
int ReceivedCount = 0;

bool FromHost(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == HostProcess;
}

LRESULT CALLBACK ReaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (AnnounceMessage && message == AnnounceMessage) {
        const HWND source = reinterpret_cast<HWND>(wParam);
        if (FromHost(source) && ReceivedCount < MaxBroadcasts)
            Received[ReceivedCount++] = {source, LONG(lParam)};
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Dispatches messages until `done` holds or `milliseconds` have passed; returns `done`.
template <class Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (done())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return false;
        // Short slices: some conditions (events, vanished windows) send no message.
        const DWORD slice = milliseconds - elapsed < 20 ? milliseconds - elapsed : 20;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

bool ParseArguments() {
    int argc = 0;
    WCHAR** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4 || argc - 3 > MaxExpected)
        return false;
    HostProcess = DWORD(_wtol(argv[1]));
    SourceName = argv[2];
    for (int i = 3; i < argc; ++i) {
        Expected& expected = Times[TimeCount++];
        expected = Expected();
        SYSTEMTIME& t = expected.time;
        if (swscanf(argv[i], L"%hu-%hu-%huT%hu:%hu:%hu=%ld", &t.wYear, &t.wMonth, &t.wDay,
                    &t.wHour, &t.wMinute, &t.wSecond, &expected.seconds) != 7)
            return false;
    }
    return true;
}

HWND CreateReaderWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReaderWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuellapAnnounceReader";
    RegisterClassW(&windowClass);
    // A top-level window: broadcasts do not reach message-only windows.
    return CreateWindowExW(0, windowClass.lpszClassName, L"announce reader", WS_OVERLAPPEDWINDOW,
                           0, 0, 100, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
}

bool AmongAnnounceWindows(HWND wanted) {
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, nullptr)) != nullptr)
        if (window == wanted)
            return true;
    return false;
}

int CountHostWindows() {
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, nullptr)) != nullptr)
        count += FromHost(window);
    return count;
}

bool ReadText(HWND window, WCHAR (&text)[256]) {
    text[0] = 0;
    DWORD_PTR length = 0;
    return SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 1000, &length) != 0;
}

// The 10-character number field at `position`: "0x" and eight lowercase hex digits.
bool ReadNumber(const WCHAR* text, int position, DWORD* value) {
    if (text[position] != L'0' || text[position + 1] != L'x')
        return false;
    *value = 0;
    for (int i = position + 2; i < position + 10; ++i) {
        const WCHAR c = text[i];
        const int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
        if (digit < 0)
            return false;
        *value = *value << 4 | DWORD(digit);
    }
    return true;
}

void CheckTimeRecord(const WCHAR* text, const Expected& expected, DWORD notBefore) {
    CHECK_EQ(lstrlenW(text), 45 + lstrlenW(SourceName));
    CHECK(memcmp(text, L"QUELLAP Y33 ", 12 * sizeof(WCHAR)) == 0);
    CHECK(text[22] == L' ' && text[33] == L' ' && text[44] == L' ');
    DWORD tick = 0;
    DWORD low = 0;
    DWORD high = 0;
    CHECK(ReadNumber(text, 12, &tick));
    CHECK(ReadNumber(text, 23, &low));
    CHECK(ReadNumber(text, 34, &high));
    // Received after the reader started and not in the future (ticks compared modulo 2^32).
    const DWORD now = GetTickCount();
    CHECK(now - tick <= now - notBefore);
    FILETIME fileTime = {};
    CHECK(SystemTimeToFileTime(&expected.time, &fileTime));
    CHECK_EQ(low, fileTime.dwLowDateTime);
    CHECK_EQ(high, fileTime.dwHighDateTime);
    CHECK_TEXT(text + 45, SourceName);
}

// Waits for the broadcast of time `index` and checks it and the window it names; any other
// broadcast from the host must carry this or an earlier time.
HWND CheckAnnouncement(int index, DWORD notBefore) {
    const LONG seconds = Times[index].seconds;
    int seen = -1;
    const bool arrived = PumpUntil(Patience, [&] {
        for (int i = 0; i < ReceivedCount && seen < 0; ++i)
            if (Received[i].seconds == seconds)
                seen = i;
        return seen >= 0;
    });
    CHECK(arrived);
    for (int i = 0; i < ReceivedCount; ++i) {
        bool known = false;
        for (int j = 0; j <= index; ++j)
            known = known || Received[i].seconds == Times[j].seconds;
        CHECK(known);
    }
    if (!arrived)
        return nullptr;
    const HWND window = Received[seen].window;
    ReceivedCount = 0;
    CHECK(AmongAnnounceWindows(window));
    WCHAR text[256];
    CHECK(ReadText(window, text));
    CheckTimeRecord(text, Times[index], notBefore);
    return window;
}

// Another process can neither change the text nor make the window publish again.
void CheckWindowDefends(HWND window) {
    WCHAR before[256];
    CHECK(ReadText(window, before));
    DWORD_PTR result = 1;
    CHECK(SendMessageTimeoutW(window, WM_SETTEXT, 0, LPARAM(L"QUELLAP N00 forged"),
                              SMTO_ABORTIFHUNG, 1000, &result));
    CHECK_EQ(result, FALSE);
    PumpUntil(200, [] { return false; });
    ReceivedCount = 0;
    CHECK(SendMessageTimeoutW(window, WM_APP, 0, 0, SMTO_ABORTIFHUNG, 1000, &result));
    PumpUntil(500, [] { return false; });
    CHECK_EQ(ReceivedCount, 0);
    WCHAR after[256];
    CHECK(ReadText(window, after));
    CHECK_TEXT(after, before);
}

HANDLE OpenHostEvent(void (*name)(DWORD, WCHAR (&)[64])) {
    WCHAR eventName[64];
    name(HostProcess, eventName);
    return OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, eventName);
}

}  // namespace

int main() {
    if (!ParseArguments()) {
        Print("usage: announce_reader HOST_PID SOURCE_NAME YYYY-MM-DDThh:mm:ss=SECONDS...\n");
        return 2;
    }
    AnnounceMessage = RegisterWindowMessageW(AnnounceName);
    CHECK(AnnounceMessage != 0);
    CHECK(CreateReaderWindow() != nullptr);
    const HANDLE ack = OpenHostEvent(ReaderAckEventName);
    const HANDLE released = OpenHostEvent(ReaderReleasedEventName);
    CHECK(ack && released);
    if (!ack || !released)
        return CheckSummary("announce_reader");

    const DWORD start = GetTickCount();
    SetEvent(ack);
    HWND window = nullptr;
    for (int i = 0; i < TimeCount; ++i) {
        const HWND announcing = CheckAnnouncement(i, start);
        CHECK(announcing && (!window || announcing == window));
        window = announcing ? announcing : window;
        SetEvent(ack);
    }
    if (window)
        CheckWindowDefends(window);
    SetEvent(ack);

    CHECK(PumpUntil(Patience, [&] { return WaitForSingleObject(released, 0) == WAIT_OBJECT_0; }));
    CHECK(PumpUntil(3000, [&] { return !IsWindow(window); }));
    CHECK_EQ(CountHostWindows(), 0);
    return CheckSummary("announce_reader");
}
