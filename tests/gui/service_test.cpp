// Horavant.exe --service under the prefix's real service control manager, registered with
// sc create as QuellapSetup registers it (its own tests cover QuellapSetup). What the service did is read from its relay trace: the prefix's
// system processes, and so the services they start, trace into this program's standard error
// (see run_service_tests).
#include <windows.h>

#include <stdlib.h>

#include <gtest/gtest.h>

#include "clock_view.h"
#include "horavant_events.h"
#include "installed_host.h"
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
    bool Start() { return StartServiceW(Service, 0, NULL) && WaitFor(SERVICE_RUNNING); }
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

// The calls of the service's worker. Only the service reports events: the thread that made the
// first one is the worker.
std::vector<RelayCall> WorkerCalls()
{
    const std::string trace = RelayTraceSince(0);
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

TEST(ServiceTest, StartedByHandSaysWhatItIsForAndExitsWithTwo)
{
    const size_t before = RelayTraceSince(0).size();
    EXPECT_EQ(2u, RunCommand(L"\"" + WatcherProgram + L"\" --service"));
    EXPECT_NE(std::string::npos, RelayTraceSince(before).find(
        "Horavant --service runs only as the Windows service \"Horavant\", started by the service "
        "control manager."));
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

}  // namespace
