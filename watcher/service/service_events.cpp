#include "service_events.h"

#include <iterator>

namespace {

// The clock runs at twice its rate while the sources are ahead, at a fifth while behind.
const WCHAR* RateOf(int64_t averageMsec)
{
    return averageMsec >= 0 ? L"2" : L"1/5";
}

}  // namespace

void ServiceEvents::NoPrivilege()
{
    Sink.Report(EVENT_NO_PRIVILEGE, {});
}

void ServiceEvents::LeftoverHandedBack()
{
    Sink.Report(EVENT_LEFTOVER_HANDED_BACK, {});
}

void ServiceEvents::Started(const WatchSettings& settings, DWORD now)
{
    QuietSince = now;
    Sink.Report(settings.SetTime ? EVENT_STARTED_SETTING : EVENT_STARTED_WATCHING,
                {std::to_wstring(settings.Trusted.size())});
}

bool ServiceEvents::MayReport(DWORD eventId, const std::wstring& source, DWORD now)
{
    const auto mark = LastReport.emplace(std::make_pair(eventId, source), now);
    if (mark.second) return true;
    if (now - mark.first->second < SourceEventIntervalMsec) return false;
    mark.first->second = now;
    return true;
}

void ServiceEvents::AfterScan(const SourceTable& table, DWORD now)
{
    // Marks older than the interval hold nothing back: the map keeps only the last ten minutes.
    for (auto it = LastReport.begin(); it != LastReport.end();) {
        it = now - it->second >= SourceEventIntervalMsec ? LastReport.erase(it) : std::next(it);
    }
    for (const auto& entry : table) {
        const SourceRecord& record = entry.second;
        if (record.trusted && now - record.tick < SourceSilentMsec) HearTrusted(record, now);
    }
    ReportSilent(now);
    if (now - QuietSince >= NoTrustedSourceMsec) {
        QuietSince = now;  // once a day while it lasts
        Sink.Report(EVENT_NO_TRUSTED_SOURCE, {});
    }
}

// A host that comes back with a new window is the same source: sources are told apart by name
// and host, not by window.
void ServiceEvents::HearTrusted(const SourceRecord& record, DWORD now)
{
    QuietSince = now;
    const std::wstring key = std::wstring(record.name) + L'\n' + record.modulePath;
    const auto known = Heard.find(key);
    if (known != Heard.end()) {
        if (now - record.tick < now - known->second.lastTick) known->second.lastTick = record.tick;
        return;
    }
    Heard[key] = {record.name, record.modulePath, record.tick};
    if (MayReport(EVENT_SOURCE_HEARD, key, now)) {
        Sink.Report(EVENT_SOURCE_HEARD, {record.name, record.modulePath});
    }
}

void ServiceEvents::ReportSilent(DWORD now)
{
    for (auto it = Heard.begin(); it != Heard.end();) {
        const HeardSource& source = it->second;
        if (now - source.lastTick < SourceSilentMsec) {
            ++it;
            continue;
        }
        if (MayReport(EVENT_SOURCE_SILENT, it->first, now)) {
            Sink.Report(EVENT_SOURCE_SILENT, {source.name, source.path});
        }
        it = Heard.erase(it);
    }
}

// A pair whose start was held back keeps its end back too, so that the log never shows an end
// without its start.
void ServiceEvents::AfterClockStep(bool adjusting, const OffsetAverage& average, DWORD now)
{
    if (adjusting == Adjusting) return;
    Adjusting = adjusting;
    if (!Adjusting) {
        if (PairReported) {
            Sink.Report(EVENT_ADJUSTMENT_ENDED, {std::to_wstring((now - AdjustingSince) / 1000),
                                                 std::to_wstring(average.msec)});
        }
        return;
    }
    AdjustingSince = now;
    PairReported = !AnyPair || now - LastPairStart >= AdjustmentPairIntervalMsec;
    if (!PairReported) return;
    AnyPair = true;
    LastPairStart = now;
    Sink.Report(EVENT_ADJUSTMENT_STARTED, {std::to_wstring(average.msec),
                                           std::to_wstring(average.sources), RateOf(average.msec)});
}

void ServiceEvents::Stopped(bool wasAdjusting, bool handedBack)
{
    Sink.Report(!wasAdjusting ? EVENT_STOPPED_UNTOUCHED
                : handedBack  ? EVENT_STOPPED_HANDED_BACK
                              : EVENT_STOPPED_HAND_BACK_REFUSED,
                {});
}

void ServiceEvents::RelayStarted(DWORD session, bool again)
{
    Sink.Report(again ? EVENT_RELAY_RESTARTED : EVENT_RELAY_STARTED, {std::to_wstring(session)});
}

void ServiceEvents::RelayEnded(DWORD session, uint32_t dropped)
{
    Sink.Report(EVENT_RELAY_ENDED, {std::to_wstring(session), std::to_wstring(dropped)});
}

void ServiceEvents::RelayDied(DWORD session, DWORD exitCode, uint32_t dropped)
{
    Sink.Report(EVENT_RELAY_DIED, {std::to_wstring(session), std::to_wstring(exitCode),
                                   std::to_wstring(dropped)});
}

void ServiceEvents::RelayStartFailed(DWORD session, DWORD error)
{
    Sink.Report(EVENT_RELAY_START_FAILED, {std::to_wstring(session), std::to_wstring(error)});
}

void ServiceEvents::RelayRecordsDropped(DWORD session)
{
    Sink.Report(EVENT_RELAY_RECORDS_DROPPED, {std::to_wstring(session)});
}
