// The service's events in the Application log, under the event source of the service's name,
// whose message file is Horavant.exe itself.
#pragma once

#include <windows.h>

#include "service_events.h"
#include "wrapper_files.h"

class EventLogSink : public EventSink {
public:
    // Without an event source (RegisterEventSourceW failed) events go nowhere.
    EventLogSink() : Source(RegisterEventSourceW(NULL, WatcherServiceName)) {}
    EventLogSink(const EventLogSink&) = delete;
    EventLogSink& operator=(const EventLogSink&) = delete;
    ~EventLogSink();

    void Report(DWORD eventId, const std::vector<std::wstring>& strings) override;

private:
    HANDLE Source;
};
