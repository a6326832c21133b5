// What the service did, as events for the Application log. A service has no window, so this
// is its only account; the rules here keep a flapping host from flooding the log.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "clock_discipline.h"
#include "watch_settings.h"

// The message table's ids (made by windmc from horavant_events.mc).
#include "horavant_events.h"

constexpr DWORD SourceEventIntervalMsec = 10 * 60 * 1000;  // one event of a kind per source
constexpr DWORD AdjustmentPairIntervalMsec = 60 * 1000;   // one start/end pair
constexpr DWORD SourceSilentMsec = SourceMaxAgeMsec;      // a trusted source gone quiet
constexpr DWORD NoTrustedSourceMsec = 24 * 60 * 60 * 1000;

// Where events go; on Windows ReportEventW under the event source "Horavant". The strings
// fill the message's %1, %2, ... in order.
class EventSink {
public:
    virtual void Report(DWORD eventId, const std::vector<std::wstring>& strings) = 0;

protected:
    ~EventSink() = default;
};

// Turns what the service saw into events. Every call takes the present tick (ms); all
// intervals are compared modulo 2^32.
class ServiceEvents {
public:
    explicit ServiceEvents(EventSink& sink) : Sink(sink) {}

    void NoPrivilege();
    void LeftoverHandedBack();
    // The mode the service runs in (after the privilege step) and how many hosts it trusts.
    void Started(const WatchSettings& settings, DWORD now);
    // After each scan: trusted sources first heard or gone silent, and a day without any.
    void AfterScan(const SourceTable& table, DWORD now);
    // After each clock step: an adjustment started or ended, on the average the step acted on.
    void AfterClockStep(bool adjusting, const OffsetAverage& average, DWORD now);
    // `wasAdjusting`: the clock was being adjusted; `handedBack`: the hand-back worked.
    void Stopped(bool wasAdjusting, bool handedBack);

    // The relays of the signed-in users' sessions: started (`again` after one died), ended on
    // purpose, died, not started (`error` the Win32 error), and the first records dropped.
    void RelayStarted(DWORD session, bool again);
    void RelayEnded(DWORD session, uint32_t dropped);
    void RelayDied(DWORD session, DWORD exitCode, uint32_t dropped);
    void RelayStartFailed(DWORD session, DWORD error);
    void RelayRecordsDropped(DWORD session);

private:
    struct HeardSource {
        std::wstring name, path;
        DWORD lastTick;  // the newest sample's reception tick
    };
    // True when no event `eventId` of `source` went out in the last interval, and marks it.
    bool MayReport(DWORD eventId, const std::wstring& source, DWORD now);
    void HearTrusted(const SourceRecord& record, DWORD now);
    void ReportSilent(DWORD now);

    EventSink& Sink;
    std::map<std::wstring, HeardSource> Heard;  // by name and path
    std::map<std::pair<DWORD, std::wstring>, DWORD> LastReport;  // tick of each event per source
    DWORD QuietSince = 0;     // the last trusted sample, or the last day-long-silence event
    bool Adjusting = false;
    DWORD AdjustingSince = 0;
    bool PairReported = false;  // the running adjustment's start went out
    bool AnyPair = false;
    DWORD LastPairStart = 0;
};
