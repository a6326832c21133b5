// The host side of the cross-process test: it feeds one time after another and lets the
// reader process check each announcement as another process sees it (announce_reader.cpp).
#include "check.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "reader_protocol.h"
#include "wrapper_folder.h"

namespace {

const WCHAR Name[] = L"BonDriver_Quellap";

struct ExpectedTime {
    BroadcastTime time;
    const WCHAR* argument;  // the time and its seconds since 1970, for the reader
};

// A recent time, the turn of 2000, one second before 1970 and a decade before it.
const ExpectedTime Times[] = {
    {{2007, 11, 23, 13, 25, 14}, L"2007-11-23T13:25:14=1195824314"},
    {{2000, 1, 1, 0, 0, 0}, L"2000-01-01T00:00:00=946684800"},
    {{1969, 12, 31, 23, 59, 59}, L"1969-12-31T23:59:59=-1"},
    {{1960, 1, 1, 0, 0, 0}, L"1960-01-01T00:00:00=-315619200"},
};

const DWORD ReaderWait = 30000;  // ms; Wine may take 10 s to start its desktop

HANDLE StartReader(const HANDLE ack) {
    WCHAR program[TestPathLength];
    ProgramFilePath(L"announce_reader.exe", program);
    WCHAR commandLine[2048];
    wsprintfW(commandLine, L"\"%s\" %lu %s", program, GetCurrentProcessId(), Name);
    for (const ExpectedTime& expected : Times) {
        lstrcatW(commandLine, L" ");
        lstrcatW(commandLine, expected.argument);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION reader = {};
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &reader))
        return nullptr;
    CloseHandle(reader.hThread);
    const HANDLE both[] = {ack, reader.hProcess};
    CHECK_EQ(WaitForMultipleObjects(2, both, FALSE, ReaderWait), WAIT_OBJECT_0);
    return reader.hProcess;
}

}  // namespace

void ReaderScenario() {
    ResetProbe();
    QuellapTestProbe.level = 2;
    UseStandardStream(Times[0].time);
    WrapperFolder folder(L"reader");
    CHECK(folder.Place(Name, L"test_driver.dll"));
    LoadedWrapper library;
    CHECK(library.Load(folder.WrapperPath()));
    IBonDriver* wrapper = library.Create();
    CHECK(wrapper != nullptr);
    if (!wrapper)
        return;

    WCHAR eventName[64];
    ReaderAckEventName(GetCurrentProcessId(), eventName);
    const HANDLE ack = CreateEventW(nullptr, FALSE, FALSE, eventName);
    ReaderReleasedEventName(GetCurrentProcessId(), eventName);
    const HANDLE released = CreateEventW(nullptr, TRUE, FALSE, eventName);
    const HANDLE reader = StartReader(ack);
    CHECK(reader != nullptr);

    for (const ExpectedTime& expected : Times) {
        SetStreamTime(expected.time);
        CHECK(FeedUntilAnnounced(wrapper, expected.time, Name));
        CHECK_EQ(WaitForSingleObject(ack, ReaderWait), WAIT_OBJECT_0);
    }
    // The reader's attempts to change the text or trigger a publication.
    CHECK_EQ(WaitForSingleObject(ack, ReaderWait), WAIT_OBJECT_0);
    wrapper->Release();
    SetEvent(released);

    if (reader) {
        CHECK_EQ(WaitForSingleObject(reader, ReaderWait), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        GetExitCodeProcess(reader, &exitCode);
        CHECK_EQ(exitCode, 0);
        CloseHandle(reader);
    }
    CloseHandle(ack);
    CloseHandle(released);
}
