// The service's side of the relays through their seams: fake sessions and relay processes, and
// records made by the relay's own writer (and by hand where a relay would be tampered with),
// through the channel and the snapshot into the engine's scan.
#include "relay_supervisor.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "announce_text.h"
#include "fake_scan_platform.h"

namespace {

const wchar_t HostPath[] = L"C:\\TV\\Recorder.exe";
constexpr DWORD HostProcess = 42;  // in session 1
constexpr DWORD OtherProcess = 43;  // in session 2

class FakeRelay : public RelayProcess {
public:
    explicit FakeRelay(std::vector<std::string>& log, DWORD session) : Log(log), Session(session) {}
    std::vector<uint8_t> written;
    bool ended = false;

    void Read(std::vector<uint8_t>& bytes) override
    {
        bytes.insert(bytes.end(), written.begin(), written.end());
        written.clear();
    }
    bool HasEnded(DWORD& exitCode) override { return ended && (exitCode = 3) != 0; }
    void End() override { Log.push_back("end " + std::to_string(Session)); }

private:
    std::vector<std::string>& Log;
    DWORD Session;
};

// Sessions, relays and events in one log, so that their order shows.
class FakeSessions : public RelayPlatform, public EventSink {
public:
    std::vector<DWORD> signedIn = {1};
    DWORD startError = 0;
    std::map<DWORD, FakeRelay*> relays;  // the last started, by session
    std::vector<std::string> log;
    ServiceEvents events{*this};
    RelaySupervisor supervisor{*this, events};

    std::vector<DWORD> SignedInSessions() override { return signedIn; }
    std::unique_ptr<RelayProcess> Start(DWORD session, DWORD& error) override
    {
        log.push_back("start " + std::to_string(session));
        if ((error = startError) != 0) return nullptr;
        auto relay = std::make_unique<FakeRelay>(log, session);
        relays[session] = relay.get();
        return relay;
    }
    OwnerCheck FindOwner(DWORD processId, DWORD session, std::wstring& path) override
    {
        if (processId != HostProcess || session != 1) return OwnerCheck::Refused;
        path = HostPath;
        return OwnerCheck::Found;
    }
    void Report(DWORD eventId, const std::vector<std::wstring>& strings) override
    {
        std::string line = "event " + std::to_string(eventId & 0xFFFF);
        for (const std::wstring& text : strings) {
            line += " " + std::string(text.begin(), text.end());
        }
        log.push_back(line);
    }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
};

std::string Event(DWORD id, const std::string& strings)
{
    return "event " + std::to_string(id & 0xFFFF) + " " + strings;
}

TEST(RelaySupervisorTest, LogonStartsLogoffEndsAndADeadRelayIsRestartedAtMostOnceAMinute)
{
    FakeSessions s;
    s.supervisor.StartAll(0);
    s.signedIn = {1, 2};
    s.supervisor.Notify(SessionChange::SignedIn, 2);
    s.supervisor.Poll(500);
    EXPECT_EQ((std::vector<std::string>{"start 1", Event(EVENT_RELAY_STARTED, "1"), "start 2",
                                        Event(EVENT_RELAY_STARTED, "2")}),
              s.TakeLog());

    // Started at 0: dead at 1000, started again at 60000, not before.
    s.relays[1]->ended = true;
    s.supervisor.Poll(1000);
    s.supervisor.Poll(59999);
    EXPECT_EQ((std::vector<std::string>{Event(EVENT_RELAY_DIED, "1 3 0")}), s.TakeLog());
    s.supervisor.Poll(60000);
    EXPECT_EQ((std::vector<std::string>{"start 1", Event(EVENT_RELAY_RESTARTED, "1")}),
              s.TakeLog());

    // A logoff ends the relay on purpose, and it is not started again.
    s.signedIn = {1};
    s.supervisor.Notify(SessionChange::SignedOut, 2);
    s.supervisor.Poll(61000);
    s.supervisor.Poll(200000);
    EXPECT_EQ((std::vector<std::string>{"end 2", Event(EVENT_RELAY_ENDED, "2 0")}), s.TakeLog());

    // A start that fails is logged once and tried again every minute.
    s.relays[1]->ended = true;
    s.startError = 5;
    for (DWORD now = 200000; now <= 340000; now += 20000) s.supervisor.Poll(now);
    s.startError = 0;
    s.supervisor.Poll(400000);
    EXPECT_EQ((std::vector<std::string>{Event(EVENT_RELAY_DIED, "1 3 0"), "start 1",
                                        Event(EVENT_RELAY_START_FAILED, "1 5"), "start 1",
                                        "start 1", "start 1", Event(EVENT_RELAY_RESTARTED, "1")}),
              s.TakeLog());
    // Windows ends the relay at a logoff whose notice comes later: ended, never restarted.
    s.relays[1]->ended = true;
    s.signedIn = {};
    s.supervisor.Poll(500000);
    s.supervisor.Notify(SessionChange::SignedOut, 1);
    s.supervisor.Poll(600000);
    s.supervisor.EndAll();
    EXPECT_EQ((std::vector<std::string>{Event(EVENT_RELAY_ENDED, "1 0")}), s.TakeLog());

    s.signedIn = {1};
    s.supervisor.StartAll(700000);
    s.supervisor.EndAll();
    EXPECT_EQ((std::vector<std::string>{"start 1", Event(EVENT_RELAY_STARTED, "1"), "end 1",
                                        Event(EVENT_RELAY_ENDED, "1 0")}),
              s.TakeLog());

    // A session whose relay could not start and that is gone by the next try is forgotten: only
    // a new sign-in brings it a relay.
    s.startError = 5;
    s.supervisor.StartAll(800000);
    s.signedIn = {};
    s.supervisor.Poll(860000);
    s.startError = 0;
    s.signedIn = {1};
    s.supervisor.Poll(920000);
    EXPECT_EQ((std::vector<std::string>{"start 1", Event(EVENT_RELAY_START_FAILED, "1 5")}),
              s.TakeLog());
}

// A record's size field, as a tampered relay may write it.
void AppendSize(std::vector<uint8_t>& bytes, uint32_t size)
{
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(size >> shift));
}

AnnouncerSnapshot Window(uint32_t window, DWORD processId, const std::wstring& text, DWORD tick)
{
    AnnouncerSnapshot found{};
    found.key = window;
    found.answered = true;
    found.length = static_cast<DWORD>(text.copy(found.text, AnnounceTextSize - 1));
    found.processId = processId;
    found.readTick = tick;
    return found;
}

// What a tampered relay can send is dropped, counted and logged once; the channel goes on, and
// the one window of the relay's session becomes a source under a key of that session, beside a
// window of the service's own with the same handle, both trusted by the service's settings.
TEST(RelaySupervisorTest, HostileRecordsAreDroppedAndARelayedHostBecomesATrustedSource)
{
    FakeSessions s;
    s.supervisor.StartAll(0);
    const DWORD now = 5000;
    wchar_t text[AnnounceTextCapacity];
    FormatAnnounceTimeRecord(text, now - 100, 0x12345678, 0x01dc0000, L"BonDriver_A");
    std::vector<uint8_t> bytes;
    AppendSize(bytes, 5000);  // oversized; its bytes follow in two reads
    bytes.resize(bytes.size() + 3000, 0xFF);
    FakeRelay& relay = *s.relays[1];
    relay.written = bytes;
    s.supervisor.Poll(now);
    bytes.assign(2000, 0xFF);
    AppendSize(bytes, RelayFieldsBytes + 3);  // half a character of text
    bytes.resize(bytes.size() + RelayFieldsBytes + 3, 0);
    std::vector<AnnouncerSnapshot> scan = {
        Window(0x10, HostProcess, text, now - 10),
        Window(0x20, HostProcess, L"QUELLAP Y32 " + std::wstring(text + 12), now - 10),
        Window(0x30, OtherProcess, text, now - 10),
        Window(0x40, HostProcess, text, now + 20000),  // read after it arrived
    };
    AppendScan(bytes, scan);
    relay.written = bytes;
    s.supervisor.Poll(now);

    // A flood within one second: 200 of a scan are taken, the rest dropped; a second later the
    // relay is heard as before.
    std::vector<AnnouncerSnapshot> flood(250, Window(0, HostProcess, text, now));
    for (uint32_t i = 0; i < flood.size(); ++i) flood[i].key = 0x1000 + i;
    relay.written.clear();
    AppendScan(relay.written, flood);
    s.supervisor.Poll(now + 500);
    std::vector<AnnouncerSnapshot> windows;
    s.supervisor.AppendTo(windows);
    EXPECT_EQ(RelayRecordsPerSecond - 3u, windows.size()) << "what the second left for the flood";
    EXPECT_EQ(1250u, RelayScanPauseMsec(flood.size(), 500)) << "a relay keeps within the rate";
    EXPECT_EQ(500u, RelayScanPauseMsec(scan.size(), 500));
    relay.written.clear();
    AppendScan(relay.written, scan);
    s.supervisor.Poll(now + 1000);

    FakeScanPlatform own;
    own.Window(0x10) = {text, true, HostPath};
    SnapshotScanPlatform snapshot(own);
    snapshot.Windows.push_back(Window(0x10, 7, text, now));
    s.supervisor.AppendTo(snapshot.Windows);
    WatchSettings settings{};
    settings.Trusted.push_back({});
    std::wstring(HostPath).copy(settings.Trusted[0].path, TrustedPathCapacity - 1);
    SourceTable table;
    ScanSources(snapshot, table, settings);
    std::vector<SourceKey> keys;
    for (const auto& entry : table) keys.push_back(entry.first);
    ASSERT_EQ((std::vector<SourceKey>{0x10, RelayedKey(1, 0x10)}), keys);
    EXPECT_TRUE(table.at(RelayedKey(1, 0x10)).trusted);
    EXPECT_EQ(std::wstring(HostPath), table.at(RelayedKey(1, 0x10)).modulePath);
    EXPECT_EQ(2, AverageOffset(table, now, {0x12345678, 0x01dc0000}, 0).sources);

    s.supervisor.EndAll();
    EXPECT_EQ((std::vector<std::string>{"start 1", Event(EVENT_RELAY_STARTED, "1"),
                                        Event(EVENT_RELAY_RECORDS_DROPPED, "1"), "end 1",
                                        Event(EVENT_RELAY_ENDED, "1 61")}),
              s.TakeLog());
}

}  // namespace
