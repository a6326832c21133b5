// The service from its start to STOPPED through its seams: a fake clock whose waits advance
// it, one host announcing through the snapshot scan, and the control handler called from
// inside a wait as the dispatcher's thread calls it. Status reports, events and clock calls
// go to one log, so their order shows.
#include "service_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "announce_text.h"
#include "desktop_snapshot.h"
#include "fake_clock_platform.h"
#include "fake_scan_platform.h"

namespace {

constexpr uint64_t Now = 133000000000000000;
constexpr DWORD StartTick = 1000;
const wchar_t HostPath[] = L"C:\\TV\\Recorder.exe";

std::string Event(DWORD id)
{
    return "event " + std::to_string(id & 0xFFFF);
}

class GrantedPrivilege : public PrivilegePlatform {
public:
    bool OpenToken(HANDLE& token) override { return (token = this) != nullptr; }
    bool LookupSystemTimePrivilege(uint64_t& privilege) override { return (privilege = 1) != 0; }
    bool EnablePrivilege(HANDLE, uint64_t) override { return true; }
    void CloseToken(HANDLE) override {}
    void WarnNoPrivilege() override {}
};

class ServiceRun : public ServiceStatusCalls, public WorkerSeams, public EventSink {
public:
    FakeClockPlatform clock;
    FakeScanPlatform desktops;
    SnapshotScanPlatform snapshot{desktops};
    WatchEngine engine{snapshot, clock};
    ServiceControl control{*this};
    ServiceEvents events{*this};
    GrantedPrivilege privilege;
    std::vector<std::string>& log = clock.calls;
    std::vector<DWORD> waits;
    bool stopRequested = false;
    std::function<void()> duringWait;

    ServiceRun()
    {
        clock.tick = StartTick;
        clock.now = Now;
        engine.Settings.UpdateMsec = 500;
        engine.Settings.SetTime = true;
        TrustedPath trusted{};
        std::wstring(HostPath).copy(trusted.path, TrustedPathCapacity - 1);
        engine.Settings.Trusted.push_back(trusted);
        const uint64_t time = Now + 2000 * 10000;  // 2 s ahead
        wchar_t text[AnnounceTextCapacity];
        FormatAnnounceTimeRecord(text, StartTick, static_cast<uint32_t>(time),
                                 static_cast<uint32_t>(time >> 32), L"BonDriver_A");
        desktops.Window(0x10) = {text, true, HostPath};
    }
    // Runs the service; `wait` is called in every timed wait.
    void Run(const std::function<void()>& wait)
    {
        duringWait = wait;
        RunServiceWorker(engine, privilege, control, events, *this);
        log.erase(std::remove_if(log.begin(), log.end(),
                                 [](const std::string& call) {
                                     return call == "tick" || call == "local" || call == "get";
                                 }),
                  log.end());
    }

    void Report(ServiceState state, DWORD exitCode, DWORD, DWORD) override
    {
        const char* names[] = {"START_PENDING", "RUNNING", "STOP_PENDING", "STOPPED"};
        log.push_back(names[static_cast<int>(state)] + std::string(exitCode ? " error" : ""));
    }
    void RequestStop() override { stopRequested = true; }
    bool WaitForStop(DWORD msec) override
    {
        waits.push_back(msec);
        clock.tick += msec;
        clock.now += msec * 10000ull;
        duringWait();
        return stopRequested;
    }
    bool PrepareScan() override
    {
        snapshot.Windows.clear();
        for (const auto& window : desktops.windows) {
            AnnouncerSnapshot found{reinterpret_cast<HWND>(window.first), window.second.answers,
                                    static_cast<DWORD>(window.second.text.size()), {}};
            window.second.text.copy(found.text, AnnounceTextSize - 1);
            snapshot.Windows.push_back(found);
        }
        return true;
    }
    void Report(DWORD eventId, const std::vector<std::wstring>&) override
    {
        log.push_back(Event(eventId));
    }
};

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
        SCOPED_TRACE(static_cast<int>(c.request));
        ServiceRun run;
        run.Run([&] {
            if (run.engine.IsAdjusting() != c.whileAdjusting) return;
            run.clock.setWorks = c.handBackWorks;
            EXPECT_TRUE(run.control.OnRequest(ServiceRequest::Interrogate));
            EXPECT_FALSE(run.control.OnRequest(ServiceRequest::Other));
            EXPECT_TRUE(run.control.OnRequest(c.request));
            EXPECT_TRUE(run.control.OnRequest(ServiceRequest::Shutdown)) << "reported once";
        });
        std::vector<std::string> ending = {"STOP_PENDING"};
        if (c.whileAdjusting) ending.push_back("handback");
        ending.push_back(Event(c.stoppedEvent));
        ending.push_back("STOPPED");
        ASSERT_GE(run.log.size(), ending.size());
        EXPECT_EQ(ending, std::vector<std::string>(run.log.end() - ending.size(), run.log.end()));
    }
}

// Scans every UpdateMsec, steps every 5 s while idle and every 200 ms while adjusting; the
// events tell the start, the source and the adjustment.
TEST(ServiceWorkerTest, ScansAndStepsOnTheirPeriods)
{
    ServiceRun run;
    run.Run([&] {
        if (run.engine.IsAdjusting()) run.control.OnRequest(ServiceRequest::Stop);
    });
    std::vector<DWORD> expected(10, 500);
    expected.push_back(200);
    EXPECT_EQ(expected, run.waits);
    EXPECT_EQ((std::vector<std::string>{Event(EVENT_STARTED_SETTING), "RUNNING",
                                        Event(EVENT_SOURCE_HEARD), "set",
                                        Event(EVENT_ADJUSTMENT_STARTED), "STOP_PENDING",
                                        "handback", Event(EVENT_STOPPED_HANDED_BACK), "STOPPED"}),
              run.log);

    const struct { uint32_t setting; DWORD period; } bounds[] = {
        {0, 10}, {9, 10}, {500, 500}, {0x80000000u, 0x7FFFFFFF}, {0xFFFFFFFFu, 0x7FFFFFFF}};
    for (const auto& b : bounds) EXPECT_EQ(b.period, ScanPeriodMsec(b.setting)) << b.setting;
}

}  // namespace
