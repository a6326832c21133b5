#include "event_source_win32.h"

#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#include "registry_text_win32.h"
#include "wrapper_files.h"

namespace {

const std::wstring SourceKey =
    std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\") +
    WatcherServiceName;

// The NUL-terminated text at `offset` of a record, which any program can write under our
// source's name: empty unless it ends inside the record.
std::wstring TextIn(const EVENTLOGRECORD& record, DWORD offset)
{
    if (offset < sizeof record || offset >= record.Length) return std::wstring();
    const BYTE* start = reinterpret_cast<const BYTE*>(&record) + offset;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(start);
    const size_t room = (record.Length - offset) / sizeof(wchar_t);
    const size_t length = wcsnlen(text, room);
    return length < room ? std::wstring(text, length) : std::wstring();
}

std::wstring LocalTimeText(DWORD secondsSince1970)
{
    ULARGE_INTEGER ticks;  // 100 ns since 1601
    ticks.QuadPart = (secondsSince1970 + 11644473600ULL) * 10000000ULL;
    const FILETIME utc = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME universal, local;
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return std::wstring();
    }
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute, local.wSecond);
    return text;
}

// The event's message from the program's table with its inserts, on one line; the inserts
// alone without a table.
std::wstring EventText(const EVENTLOGRECORD& record, HMODULE messages)
{
    std::vector<std::wstring> inserts;
    for (DWORD i = 0, at = record.StringOffset; i < record.NumStrings && at < record.Length; ++i) {
        inserts.push_back(TextIn(record, at));
        at += DWORD((inserts.back().size() + 1) * sizeof(wchar_t));
    }
    // Every insert a message can name (%1 to %99) points at text, however few the event has.
    std::vector<DWORD_PTR> arguments(99, reinterpret_cast<DWORD_PTR>(L""));
    for (size_t i = 0; i < inserts.size() && i < arguments.size(); ++i) {
        arguments[i] = reinterpret_cast<DWORD_PTR>(inserts[i].c_str());
    }
    wchar_t* formatted = nullptr;
    std::wstring text;
    if (messages != nullptr &&
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                           FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                       messages, record.EventID, 0, reinterpret_cast<wchar_t*>(&formatted), 0,
                       reinterpret_cast<va_list*>(arguments.data())) != 0) {
        text = formatted;
        LocalFree(formatted);
    } else {
        for (const std::wstring& insert : inserts) text += (text.empty() ? L"" : L"; ") + insert;
    }
    while (!text.empty() && text.back() == L' ') text.pop_back();
    return text;
}

ServiceEvent EventOf(const EVENTLOGRECORD& record, HMODULE messages)
{
    ServiceEvent event{ServiceEvent::Information, LocalTimeText(record.TimeGenerated),
                       EventText(record, messages)};
    if (record.EventType == EVENTLOG_ERROR_TYPE) event.kind = ServiceEvent::Error;
    if (record.EventType == EVENTLOG_WARNING_TYPE) event.kind = ServiceEvent::Warning;
    return event;
}

HMODULE LoadMessageTable()
{
    std::wstring file;
    if (ReadEventSourceFile(file) != 0) return nullptr;
    return LoadLibraryExW(Expanded(file).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

}  // namespace

uint32_t ReadEventSourceFile(std::wstring& messageFile)
{
    return ReadRegistryText(HKEY_LOCAL_MACHINE, SourceKey.c_str(), L"EventMessageFile",
                            messageFile);
}

uint32_t WriteEventSourceFile(const std::wstring& messageFile)
{
    HKEY key = nullptr;
    LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, SourceKey.c_str(), 0, nullptr, 0,
                                 KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS) return uint32_t(error);
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    error = RegSetValueExW(key, L"EventMessageFile", 0, REG_EXPAND_SZ,
                           reinterpret_cast<const BYTE*>(messageFile.c_str()),
                           DWORD((messageFile.size() + 1) * sizeof(wchar_t)));
    if (error == ERROR_SUCCESS) {
        error = RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&types), sizeof types);
    }
    RegCloseKey(key);
    return uint32_t(error);
}

uint32_t DeleteEventSource()
{
    const LONG error = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, SourceKey.c_str(), KEY_WOW64_64KEY, 0);
    return error == ERROR_FILE_NOT_FOUND ? 0 : uint32_t(error);
}

std::vector<ServiceEvent> ReadLastEvents(size_t count)
{
    std::vector<ServiceEvent> events;
    const HANDLE log = OpenEventLogW(nullptr, L"Application");
    if (log == nullptr) return events;
    const HMODULE messages = LoadMessageTable();
    std::vector<BYTE> buffer(65536);
    DWORD read = 0, needed = 0;
    while (events.size() < count) {
        if (!ReadEventLogW(log, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0,
                           buffer.data(), DWORD(buffer.size()), &read, &needed)) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) break;
            buffer.resize(needed);
            continue;
        }
        if (read == 0) break;
        for (DWORD at = 0; at + sizeof(EVENTLOGRECORD) <= read && events.size() < count;) {
            const EVENTLOGRECORD& record = *reinterpret_cast<const EVENTLOGRECORD*>(&buffer[at]);
            if (record.Length < sizeof record || record.Length > read - at) break;
            if (TextIn(record, sizeof record) == WatcherServiceName) {
                events.push_back(EventOf(record, messages));
            }
            at += record.Length;
        }
    }
    if (messages != nullptr) FreeLibrary(messages);
    CloseEventLog(log);
    return events;
}
