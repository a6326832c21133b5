// Horavant.exe --service under the prefix's real service control manager, registered with
// sc create as QuellapSetup registers it (its own tests cover QuellapSetup). What the service did is read from its relay trace: the prefix's
// system processes, and so the services they start, trace into this program's standard error
// (see run_service_tests).
#include <windows.h>

#include <stdlib.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "clock_view.h"
#include "horavant_events.h"
#include "announcer_process.h"
#include "installed_host.h"
#include "time_record.h"
#include "watcher_session.h"
#include "window_peek.h"

namespace {

constexpr DWORD ServicePatienceMsec = 30000;

// Runs a command line with this program's standard error, the log; its exit code, or
// STILL_ACTIVE when it has not ended in time.
DWORD RunCommand(std::wstring commandLine)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, &commandLine[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, NULL,
                        &startup, &process)) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, ServicePatienceMsec) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

// The service "Horavant" for one copy of the program; stopped and removed at the end.
class RegisteredService {
public:
    bool Register(const std::wstring& program)
    {
        Remove();  // left by a run that failed
        Manager = OpenSCManagerW(NULL, NULL, SC_MANAGER_ALL_ACCESS);
        const std::wstring create =
            L"sc create Horavant binPath= \"\\\"" + program + L"\\\" --service\"";
        return RunCommand(create) == 0 &&
               (Service = OpenServiceW(Manager, L"Horavant", SERVICE_ALL_ACCESS)) != NULL;
    }
    // `arguments` reach the service's main, as sc start passes them.
    bool Start(std::vector<const wchar_t*> arguments = {})
    {
        return StartServiceW(Service, static_cast<DWORD>(arguments.size()), arguments.data()) &&
               WaitFor(SERVICE_RUNNING);
    }
    bool Stop()
    {
        SERVICE_STATUS status;
        return ControlService(Service, SERVICE_CONTROL_STOP, &status) && WaitFor(SERVICE_STOPPED);
    }
    SERVICE_STATUS_PROCESS Status() const
    {
        SERVICE_STATUS_PROCESS status = {};
        DWORD needed = 0;
        QueryServiceStatusEx(Service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                             sizeof status, &needed);
        return status;
    }
    ~RegisteredService()
    {
        if (Service != NULL && Status().dwCurrentState != SERVICE_STOPPED) Stop();
        Remove();
        if (Manager != NULL) CloseServiceHandle(Manager);
    }

private:
    bool WaitFor(DWORD state)
    {
        return WaitUntil([&] { return Status().dwCurrentState == state; }, ServicePatienceMsec);
    }
    void Remove()
    {
        if (Service != NULL) CloseServiceHandle(Service);
        Service = NULL;
        RunCommand(L"sc delete Horavant");
    }

    SC_HANDLE Manager = NULL;
    SC_HANDLE Service = NULL;
};

// The calls of the service's worker in the trace from `since` on. Only the service reports
// events: the thread that made the first one is the worker.
std::vector<RelayCall> WorkerCalls(size_t since = 0)
{
    const std::string trace = RelayTraceSince(since);
    const size_t event = trace.find(":Call advapi32.ReportEventW(");
    if (event == std::string::npos) return {};
    const size_t line = trace.rfind('\n', event);
    const char* thread = trace.c_str() + (line == std::string::npos ? 0 : line + 1);
    return ParseRelayTrace(trace, static_cast<uint32_t>(strtoul(thread, nullptr, 16)));
}

// The ids of the events the service reported (ReportEventW's fourth argument), in their order.
std::vector<uint64_t> EventIds(const std::vector<RelayCall>& calls)
{
    std::vector<uint64_t> ids;
    for (const RelayCall& call : CallsOf(calls, "ReportEventW")) ids.push_back(call.args.at(3));
    return ids;
}

// How many copies of the program run (the service, and its relay if any).
int RunningCopies()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32W process = {};
    process.dwSize = sizeof process;
    int copies = 0;
    for (BOOL more = Process32FirstW(snapshot, &process); more;
         more = Process32NextW(snapshot, &process)) {
        if (lstrcmpiW(process.szExeFile, L"Horavant.exe") == 0) ++copies;
    }
    CloseHandle(snapshot);
    return copies;
}

TEST(ServiceTest, StartedByHandSaysWhatItIsForAndExitsWithTwo)
{
    const struct {
        const wchar_t* option;
        const char* says;
    } cases[] = {
        {L"--service", "Horavant --service runs only as the Windows service \"Horavant\", started "
                       "by the service control manager."},
        {L"--relay", "Horavant --relay is started by the Horavant service in each signed-in "
                     "session (RelaySessions=1)."},
    };
    for (const auto& c : cases) {
        const size_t before = RelayTraceSince(0).size();
        EXPECT_EQ(2u, RunCommand(L"\"" + WatcherProgram + L"\" " + c.option));
        EXPECT_NE(std::string::npos, RelayTraceSince(before).find(c.says)) << c.says;
    }
}

// A recording service starts its tuner process on a window station and desktop of its own:
// the dialog on this desktop never sees it, the service does, trusts it and sets the clock, and
// hands the clock back when it is stopped.
TEST(ServiceTest, SetsTheClockFromAHostThatTheDialogCannotSee)
{
    InstalledHost host;
    if (!host.Install()) GTEST_SKIP() << "the MSVC-ABI twin tree's programs are not built";
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", L"Trusted0=" + host.Program()}));
    RegisteredService service;
    ASSERT_TRUE(service.Register(watcher.Program()));
    ASSERT_TRUE(service.Start());
    PrivateDesktop recorder;
    ASSERT_TRUE(recorder.Create(L"QuellapRecorder", L"Tuner"));
    ASSERT_TRUE(host.Run(ServicePatienceMsec / 1000 * 2, &recorder));

    // The sample's times lie years behind the clock: the slow rate.
    ASSERT_TRUE(WaitUntil([&] {
        return FindCall(WorkerCalls(), "SetSystemTimeAdjustment", {156250 / 5, FALSE}) >= 0;
    }, ServicePatienceMsec)) << "the service slews toward the host";
    EXPECT_EQ(L"", LineEndingWith(watcher.Window(), L" " + host.Program() + L"\n"));
    EXPECT_EQ(ClockIdleTitle, watcher.Title()) << "the dialog never saw the host";

    ASSERT_TRUE(service.Stop());
    EXPECT_EQ(0u, service.Status().dwWin32ExitCode);
    const std::vector<RelayCall> calls = WorkerCalls();
    const std::vector<uint64_t> ids = EventIds(calls);
    EXPECT_EQ((std::vector<uint64_t>{EVENT_STARTED_SETTING, EVENT_SOURCE_HEARD,
                                     EVENT_ADJUSTMENT_STARTED, EVENT_STOPPED_HANDED_BACK}),
              ids);
    ASSERT_GE(calls.size(), 2u);
    const RelayCall& handBack = calls[calls.size() - 2];
    EXPECT_EQ("SetSystemTimeAdjustment", handBack.function) << "the clock is handed back last";
    EXPECT_EQ((std::vector<uint64_t>{0, TRUE}), handBack.args);
    EXPECT_EQ(0u, watcher.Close());
}

// Wine has one session, the signed-in user's, in which the service runs too: started with its
// scan kept to its own window station, the service cannot see a host on the default desktop.
// With RelaySessions=1 its relay there reports the host, which becomes a trusted source that
// the service slews toward; with RelaySessions=0 no relay runs.
TEST(ServiceTest, HearsAHostOnTheSignedInDesktopOnlyThroughItsRelay)
{
    AnnouncerProcess host;
    ASSERT_TRUE(host.StartWithText(TimeRecord(3600 * 1000, L"BonDriver_Relayed")));
    for (const bool relays : {false, true}) {
        WatcherSession folder;
        ASSERT_TRUE(folder.Install({L"SetTime=1", L"Trusted0=" + AnnouncerProgramPath(),
                                    L"RelaySessions=" + std::to_wstring(relays)}));
        RegisteredService service;
        ASSERT_TRUE(service.Register(folder.Program()));
        const size_t before = RelayTraceSince(0).size();
        ASSERT_TRUE(service.Start({L"--scan-own-station"}));
        // The relay is started before the service reports that it runs.
        EXPECT_EQ(relays ? 2 : 1, RunningCopies()) << relays;
        if (relays) {
            // An hour ahead: the fast rate.
            EXPECT_TRUE(WaitUntil([&] {
                return FindCall(WorkerCalls(before), "SetSystemTimeAdjustment",
                                {156250 * 2, FALSE}) >= 0;
            }, ServicePatienceMsec)) << "the service slews toward the relayed host";
        }
        ASSERT_TRUE(service.Stop());
        std::vector<uint64_t> expected = {EVENT_STARTED_SETTING, EVENT_STOPPED_UNTOUCHED};
        if (relays) {
            expected = {EVENT_STARTED_SETTING, EVENT_RELAY_STARTED,       EVENT_SOURCE_HEARD,
                        EVENT_ADJUSTMENT_STARTED, EVENT_RELAY_ENDED, EVENT_STOPPED_HANDED_BACK};
        }
        EXPECT_EQ(expected, EventIds(WorkerCalls(before))) << relays;
        EXPECT_EQ(-1, FindCall(WorkerCalls(before), "SendMessageTimeoutW", {}))
            << "the service itself reads no window";
        EXPECT_TRUE(WaitUntil([] { return RunningCopies() == 0; }, ServicePatienceMsec))
            << "the relay ends with the service";
    }
}

}  // namespace
