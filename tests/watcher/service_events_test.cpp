// The service's event rules over simulated time: a flapping host or a flapping adjustment
// must not flood the log.
#include "service_events.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD Minute = 60 * 1000;

using Lines = std::vector<std::wstring>;

// Each event as a line: its number, then its strings.
class EventLog : public EventSink {
public:
    void Report(DWORD eventId, const std::vector<std::wstring>& strings) override
    {
        lines.push_back(std::to_wstring(eventId & 0xFFFF));
        for (const std::wstring& text : strings) lines.back() += L" " + text;
    }
    // The lines reported since the last call.
    Lines Take() { return std::move(lines); }

private:
    Lines lines;
};

SourceRecord Record(const wchar_t* name, DWORD tick, bool trusted)
{
    SourceRecord record{};
    record.tick = tick;
    record.trusted = trusted;
    CopySourceName(record, name, 63);
    std::wstring(L"C:\\TV\\Recorder.exe").copy(record.modulePath, ModulePathSize - 1);
    return record;
}

TEST(ServiceEventsTest, OneEventOfAKindPerSourceEveryTenMinutes)
{
    EventLog log;
    ServiceEvents events(log);
    WatchSettings settings{};
    events.Started(settings, 0);
    EXPECT_EQ((Lines{L"2 0"}), log.Take()) << "watching mode, nothing trusted";

    const wchar_t* heard = L"6 BonDriver_A C:\\TV\\Recorder.exe";
    const wchar_t* silent = L"7 BonDriver_A C:\\TV\\Recorder.exe";
    // The host comes and goes: each time with a new window, one sample when it comes.
    const struct { DWORD now; bool announcing; Lines expected; } steps[] = {
        {0, true, {heard}},
        {99999, false, {}},
        {100000, false, {silent}},
        {150000, true, {}},   // back within ten minutes of its last such event
        {250000, false, {}},
        {10 * Minute, true, {heard}},
        {10 * Minute + 100000, false, {silent}},
    };
    for (const auto& step : steps) {
        SourceTable table;
        table[0] = Record(L"<Broadcast0>", step.now, false);
        table[0x20] = Record(L"BonDriver_B", step.now, false);
        if (step.announcing) table[0x10] = Record(L"BonDriver_A", step.now, true);
        events.AfterScan(table, step.now);
        EXPECT_EQ(step.expected, log.Take()) << step.now;
    }
}

TEST(ServiceEventsTest, OneAdjustmentPairAMinuteAndADayWithoutSources)
{
    EventLog log;
    ServiceEvents events(log);
    const struct { DWORD now; bool adjusting; int64_t average; Lines expected; } steps[] = {
        {0, true, 2000, {L"8 2000 1 2"}},
        {10000, false, 50, {L"9 10 50"}},
        {30000, true, 3000, {}},
        {40000, false, 20, {}},  // its start was held back: so is its end
        {Minute + 1, true, -1500, {L"8 -1500 1 1/5"}},
    };
    for (const auto& step : steps) {
        events.AfterClockStep(step.adjusting, {step.average, 1}, step.now);
        EXPECT_EQ(step.expected, log.Take()) << step.now;
    }

    const DWORD day = NoTrustedSourceMsec;
    events.Started(WatchSettings{}, 5);
    log.Take();
    const struct { DWORD now; size_t events; } days[] = {
        {day + 4, 0}, {day + 5, 1}, {day + 6, 0}, {2 * day + 4, 0}, {2 * day + 5, 1}};
    for (const auto& d : days) {
        events.AfterScan(SourceTable{}, d.now);
        EXPECT_EQ(d.events, log.Take().size()) << d.now;
    }
}

}  // namespace
