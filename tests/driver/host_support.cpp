#include "host_support.h"

#include "announce_name.h"
#include "announce_text.h"
#include "debug_capture.h"

#include <stdio.h>
#include <string.h>

extern "C" __declspec(dllexport) TestDriverProbe QuellapTestProbe = {};

namespace {

typedef IBonDriver*(__cdecl* CreateBonDriverFunction)();

const int PacketSize = 188;
const int FillerBefore = 40;
const int FillerAfter = 40;
const DWORD ChunkPackets = 10;

BYTE Stream[(FillerBefore + 1 + FillerAfter) * PacketSize];
DWORD StreamSize = 0;
DWORD TimePacketOffset = 0;

bool TextMatches(HWND window, const BroadcastTime& time, const WCHAR* name) {
    WCHAR text[256];
    return ReadAnnounceText(window ? window : OwnAnnounceWindow(), text) &&
           CarriesTime(text, time, name);
}

}  // namespace

void ResetProbe() {
    TestDriverProbe& probe = QuellapTestProbe;
    probe = TestDriverProbe();
    probe.level = 1;
    probe.tsStreamResult = TRUE;
    probe.stream = Stream;
    probe.streamSize = StreamSize;
    probe.chunkSize = ChunkPackets * PacketSize;
    probe.lastPosition = NoPosition;
}

bool LoadedWrapper::Load(const WCHAR* path) {
    Unload();
    Module = LoadLibraryW(path);
    return Module != nullptr;
}

void LoadedWrapper::Unload() {
    if (Module)
        FreeLibrary(Module);
    Module = nullptr;
}

IBonDriver* LoadedWrapper::Create() {
    if (!Module)
        return nullptr;
    const CreateBonDriverFunction create =
        reinterpret_cast<CreateBonDriverFunction>(GetProcAddress(Module, "CreateBonDriver"));
    return create ? create() : nullptr;
}

void UseStandardStream(const BroadcastTime& time) {
    TsStreamBuilder builder(Stream, sizeof Stream, PacketSize);
    builder.AddFillerPackets(FillerBefore);
    TimePacketOffset = builder.AddTimePacket(0x73, time);
    builder.AddFillerPackets(FillerAfter);
    StreamSize = builder.Size();
    QuellapTestProbe.stream = Stream;
    QuellapTestProbe.streamSize = StreamSize;
    QuellapTestProbe.streamOffset = 0;
}

void SetStreamTime(const BroadcastTime& time) {
    TsStreamBuilder builder(Stream, sizeof Stream, PacketSize);
    builder.SetTime(TimePacketOffset, time);
}

DWORD StandardStreamSize() { return StreamSize; }

const BYTE* StandardStream() { return Stream; }

void UpdateLine(const BroadcastTime& time, char (&line)[64]) {
    sprintf(line, "CTsAnalyzer::OnTotUpdated(): %04u-%02u-%02uT%02u:%02u:%02u\n", time.year,
            time.month, time.day, time.hour, time.minute, time.second);
}

BOOL FeedChunk(IBonDriver* wrapper, int position) {
    static BYTE buffer[ChunkPackets * PacketSize];
    DWORD size = 0;
    DWORD remain = 0;
    if (position == 7)
        return wrapper->GetTsStream(buffer, &size, &remain);
    BYTE* data = nullptr;
    return wrapper->GetTsStream(&data, &size, &remain);
}

bool FeedUntilUpdated(IBonDriver* wrapper, const BroadcastTime& time, int position) {
    char line[64];
    UpdateLine(time, line);
    const int before = CountCaptured(line);
    const int maxChunks = int(2 * StreamSize / QuellapTestProbe.chunkSize) + 2;
    for (int i = 0; i < maxChunks; ++i) {
        FeedChunk(wrapper, position);
        if (CountCaptured(line) > before)
            return true;
    }
    return false;
}

bool FeedUntilAnnounced(IBonDriver* wrapper, const BroadcastTime& time, const WCHAR* name,
                        int position) {
    return FeedUntilUpdated(wrapper, time, position) &&
           WaitForAnnouncement(nullptr, time, name, 10000);
}

HWND OwnAnnounceWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

int CountOwnAnnounceWindows() {
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, AnnounceName, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        count += process == GetCurrentProcessId();
    }
    return count;
}

bool ReadAnnounceText(HWND window, WCHAR (&text)[256]) {
    text[0] = 0;
    DWORD_PTR length = 0;
    return window && SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                                         SMTO_ABORTIFHUNG, 1000, &length);
}

bool CarriesTime(const WCHAR* text, const BroadcastTime& time, const WCHAR* name) {
    if (lstrlenW(text) < AnnounceTimeNamePos)
        return false;
    // The tick is whatever the analyser took; everything else must match exactly.
    WCHAR tickField[AnnounceNumberLength + 1];
    lstrcpynW(tickField, text + AnnounceTickPos, AnnounceNumberLength + 1);
    DWORD tick = 0;
    if (swscanf(tickField, L"0x%8lx", &tick) != 1)
        return false;
    const FILETIME fileTime = BroadcastFileTime(time);
    WCHAR expected[AnnounceTextCapacity];
    FormatAnnounceTimeRecord(expected, tick, fileTime.dwLowDateTime, fileTime.dwHighDateTime,
                             name);
    return lstrcmpW(text, expected) == 0;
}

bool WaitForAnnouncement(HWND window, const BroadcastTime& time, const WCHAR* name,
                         DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!TextMatches(window, time, name)) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(10);
    }
    return true;
}

bool WaitForWindowGone(HWND window, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(10);
    }
    return true;
}
