#include "event_log_win32.h"

namespace {

// The severity lies in the id's top two bits, as the message table gives it.
WORD EventTypeOf(DWORD eventId)
{
    switch (eventId >> 30) {
    case STATUS_SEVERITY_ERROR:
        return EVENTLOG_ERROR_TYPE;
    case STATUS_SEVERITY_WARNING:
        return EVENTLOG_WARNING_TYPE;
    default:
        return EVENTLOG_INFORMATION_TYPE;
    }
}

}  // namespace

EventLogSink::~EventLogSink()
{
    if (Source != NULL) DeregisterEventSource(Source);
}

void EventLogSink::Report(DWORD eventId, const std::vector<std::wstring>& strings)
{
    if (Source == NULL) return;
    std::vector<LPCWSTR> inserts;
    for (const std::wstring& text : strings) inserts.push_back(text.c_str());
    ReportEventW(Source, EventTypeOf(eventId), 0, eventId, NULL, static_cast<WORD>(inserts.size()),
                 0, inserts.empty() ? NULL : inserts.data(), NULL);
}
