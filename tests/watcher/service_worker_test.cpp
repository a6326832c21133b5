// The service from its start to STOPPED through its seams: a fake clock whose waits advance
// it, one trusted host announcing, and the control handler called from inside a wait as the
// dispatcher's thread calls it. Status reports, events and clock calls go to one log, so their
// order shows.
#include "service_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "announce_text.h"
#include "fake_clock_platform.h"
#include "fake_scan_platform.h"

namespace {

constexpr uint64_t Now = 133000000000000000;
const wchar_t HostPath[] = L"C:\\TV\\Recorder.exe";

std::string Event(DWORD id)
{
    return "event " + std::to_string(id & 0xFFFF);
}

// Also grants the privilege.
class ServiceRun : public PrivilegePlatform,
                   public ServiceStatusCalls,
                   public WorkerSeams,
                   public EventSink {
public:
    FakeClockPlatform clock;
    FakeScanPlatform desktop;
    WatchEngine engine{desktop, clock};
    ServiceControl control{*this};
    std::vector<DWORD> waits;

    // Runs the service, in clock-setting mode with a host 2 s ahead; `duringWait` is called in
    // every wait. The log, without the reads of the clock.
    std::vector<std::string> Run(const std::function<void()>& duringWait)
    {
        DuringWait = duringWait;
        clock.tick = 1000;
        clock.now = Now;
        engine.Settings.UpdateMsec = 500;
        engine.Settings.SetTime = true;
        engine.Settings.Trusted.push_back({});
        std::wstring(HostPath).copy(engine.Settings.Trusted[0].path, TrustedPathCapacity - 1);
        const uint64_t time = Now + 2000 * 10000;
        wchar_t text[AnnounceTextCapacity];
        FormatAnnounceTimeRecord(text, clock.tick, static_cast<uint32_t>(time),
                                 static_cast<uint32_t>(time >> 32), L"BonDriver_A");
        desktop.Window(0x10) = {text, true, HostPath};
        ServiceEvents events(*this);
        RunServiceWorker(engine, *this, control, events, *this, nullptr);
        std::vector<std::string>& log = clock.calls;
        log.erase(std::remove_if(log.begin(), log.end(), [](const std::string& call) {
                      return call == "tick" || call == "local" || call == "get";
                  }), log.end());
        return log;
    }

    bool OpenToken(HANDLE& token) override { return (token = this) != nullptr; }
    bool LookupSystemTimePrivilege(uint64_t&) override { return true; }
    bool EnablePrivilege(HANDLE, uint64_t) override { return true; }
    void CloseToken(HANDLE) override {}
    void WarnNoPrivilege() override {}

    void Report(ServiceState state, DWORD exitCode, DWORD, DWORD) override
    {
        const char* names[] = {"START_PENDING", "RUNNING", "STOP_PENDING", "STOPPED"};
        clock.calls.push_back(names[static_cast<int>(state)] + std::string(exitCode ? "!" : ""));
    }
    void RequestStop() override { StopRequested = true; }
    bool WaitForStop(DWORD msec) override
    {
        waits.push_back(msec);
        clock.tick += msec;
        clock.now += msec * 10000ull;
        DuringWait();
        return StopRequested;
    }
    bool PrepareScan() override { return true; }
    void Report(DWORD eventId, const std::vector<std::wstring>&) override
    {
        clock.calls.push_back(Event(eventId));
    }

private:
    std::function<void()> DuringWait;
    bool StopRequested = false;
};

// Scans every UpdateMsec, steps every 5 s while idle and every 200 ms while adjusting; however
// it is stopped, it hands the clock back before it reports STOPPED, and logs what it did.
TEST(ServiceWorkerTest, EveryWayOfStoppingHandsTheClockBackBeforeStopped)
{
    const struct {
        ServiceRequest request;
        bool whileAdjusting, handBackWorks;
        DWORD stoppedEvent;
    } cases[] = {
        {ServiceRequest::Stop, true, true, EVENT_STOPPED_HANDED_BACK},
        {ServiceRequest::Preshutdown, true, true, EVENT_STOPPED_HANDED_BACK},
        {ServiceRequest::Shutdown, true, true, EVENT_STOPPED_HANDED_BACK},
        {ServiceRequest::Shutdown, true, false, EVENT_STOPPED_HAND_BACK_REFUSED},
        {ServiceRequest::Stop, false, true, EVENT_STOPPED_UNTOUCHED},
    };
    for (const auto& c : cases) {
        ServiceRun run;
        const auto log = run.Run([&] {
            if (run.engine.IsAdjusting() != c.whileAdjusting) return;
            run.clock.setWorks = c.handBackWorks;
            EXPECT_TRUE(run.control.OnRequest(ServiceRequest::Interrogate));
            EXPECT_FALSE(run.control.OnRequest(ServiceRequest::Other));
            EXPECT_TRUE(run.control.OnRequest(c.request));
            EXPECT_TRUE(run.control.OnRequest(ServiceRequest::Shutdown)) << "reported once";
        });
        std::vector<std::string> ending = {"STOP_PENDING"};
        if (c.whileAdjusting) ending.push_back("handback");
        ending.insert(ending.end(), {Event(c.stoppedEvent), "STOPPED"});
        ASSERT_GE(log.size(), ending.size());
        EXPECT_EQ(ending, std::vector<std::string>(log.end() - ending.size(), log.end()))
            << static_cast<int>(c.request);
        if (&c != &cases[0]) continue;  // the first case in full
        std::vector<DWORD> waits(10, 500);
        waits.push_back(200);
        EXPECT_EQ(waits, run.waits);
        EXPECT_EQ((std::vector<std::string>{Event(EVENT_STARTED_SETTING), "RUNNING",
                                            Event(EVENT_SOURCE_HEARD), "set",
                                            Event(EVENT_ADJUSTMENT_STARTED), "STOP_PENDING",
                                            "handback", Event(EVENT_STOPPED_HANDED_BACK),
                                            "STOPPED"}),
                  log);
    }
    for (const auto& bound : {std::make_pair(0u, 10u), {500u, 500u}, {0xFFFFFFFFu, 0x7FFFFFFFu}}) {
        EXPECT_EQ(bound.second, ScanPeriodMsec(bound.first)) << "as the dialog's timer";
    }
}

}  // namespace
