// The watcher's window from outside, as a user drives it: tray round trip, start-up options,
// keys, the sorted list with its selection, and the clock handed back at every way out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "announce_name.h"
#include "announcer_process.h"
#include "clock_view.h"
#include "main_window.h"
#include "time_record.h"
#include "tray_icon.h"
#include "unix_path.h"
#include "watcher_session.h"
#include "window_peek.h"
#include "wrapper_files.h"

namespace {

constexpr uint64_t SlowRate = 156250 / 5;  // Wine's time increment at one fifth
constexpr DWORD FirstClockTickMsec = ClockIdlePeriodMsec + 3000;
constexpr int64_t ElevenYearsMsec = 11 * 365LL * 86400000;

std::wstring TrustAnnouncers()
{
    return L"Trusted0=" + AnnouncerProgramPath();
}

uint64_t Handle(HWND window)
{
    return reinterpret_cast<uintptr_t>(window);
}

// The index of the `nth` (from 1) call of `function` at or after `from`, or -1.
int NthCallFrom(const std::vector<RelayCall>& calls, size_t from, const char* function, int nth)
{
    for (size_t i = from; i < calls.size(); ++i) {
        if (calls[i].function == function && --nth == 0) return static_cast<int>(i);
    }
    return -1;
}

// Whether the program has made and returned from a call with these leading arguments.
bool Made(const WatcherSession& watcher, const char* function, const std::vector<uint64_t>& args)
{
    const std::vector<RelayCall> calls = watcher.Calls();
    const int index = FindCall(calls, function, args);
    return index >= 0 && calls[index].returned;
}

// Wine shows a dialog once its queue first runs empty: its start-up is over.
bool StartedUp(HWND dialog)
{
    return WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, WindowPatienceMsec);
}

// A scan and a redraw of the list, done when this returns.
void Refresh(HWND dialog)
{
    SendMessageW(dialog, WM_TIMER, TIMER_SCAN, 0);
    SendMessageW(dialog, WM_APP_REFRESH, 0, 0);
}

// The stand-in service program registered as the service Horavant (started by hand, so that no
// failed run leaves it starting with the prefix; one such run's registration is reused) and
// running, until the end of the test.
class RunningService {
public:
    RunningService()
    {
        const std::wstring line =
            L"\"" + WindowsPathOfUnix(QUELLAP_STANDIN_UNIX) + L"\" " + WatcherServiceArgument;
        Manager = OpenSCManagerW(NULL, NULL, SC_MANAGER_ALL_ACCESS);
        Service = CreateServiceW(Manager, WatcherServiceName, WatcherServiceName,
                                 SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                 SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, line.c_str(), NULL,
                                 NULL, NULL, NULL, NULL);
        if (!Service) Service = OpenServiceW(Manager, WatcherServiceName, SERVICE_ALL_ACCESS);
        if (Service) StartServiceW(Service, 0, NULL);
    }
    ~RunningService()
    {
        SERVICE_STATUS status;
        ControlService(Service, SERVICE_CONTROL_STOP, &status);
        WaitUntil([&] { return State() == SERVICE_STOPPED; }, WindowPatienceMsec);
        DeleteService(Service);
        CloseServiceHandle(Service);
        CloseServiceHandle(Manager);
    }
    DWORD State()
    {
        SERVICE_STATUS status = {};
        return QueryServiceStatus(Service, &status) ? status.dwCurrentState : 0;
    }

private:
    SC_HANDLE Manager, Service;
};

// Each icon call as its message and whether it worked.
std::vector<std::pair<uint64_t, bool>> IconCalls(const std::vector<RelayCall>& calls)
{
    std::vector<std::pair<uint64_t, bool>> icon;
    for (const RelayCall& call : CallsOf(calls, "Shell_NotifyIconW")) {
        icon.push_back({call.args[0], call.returned && call.result != FALSE});
    }
    return icon;
}

// NIM_DELETE: what a restarting shell does to the program's icon. NIM_ADD: the program's own
// NIM_ADD then fails, as before the shell exists at sign-in.
void ShellIcon(DWORD message, HWND dialog)
{
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = dialog;
    icon.uID = TrayIconId;
    Shell_NotifyIconW(message, &icon);
}

TEST(WatcherWindowTest, TrayRoundTrip)
{
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"MinToTray=1"}));
    const HWND dialog = watcher.Window();
    ASSERT_TRUE(StartedUp(dialog));
    EXPECT_FALSE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);

    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    ShellIcon(NIM_ADD, dialog);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<RelayCall> icon = CallsOf(watcher.Calls(), "Shell_NotifyIconW");
        return !icon.empty() && icon[0].returned;
    }, WindowPatienceMsec));
    EXPECT_TRUE(IsIconic(dialog) && IsWindowVisible(dialog)) << "no notification area yet";
    ShellIcon(NIM_DELETE, dialog);
    SendMessageW(dialog, taskbarCreated, 0, 0);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the shell has come: into the notification area";
    const std::pair<WPARAM, LPARAM> ignored[] = {{TrayIconId, WM_RBUTTONUP},
                                                 {TrayIconId, WM_RBUTTONDOWN},
                                                 {TrayIconId, WM_MOUSEMOVE},
                                                 {TrayIconId, WM_LBUTTONDOWN},
                                                 {TrayIconId + 1, WM_LBUTTONUP}};
    for (const auto& notification : ignored) {
        SendMessageW(dialog, WM_APP_TRAYNOTIFY, notification.first, notification.second);
    }
    EXPECT_FALSE(IsWindowVisible(dialog)) << "only a left-button release on the icon acts";

    ShellIcon(NIM_DELETE, dialog);
    SendMessageW(dialog, taskbarCreated, 0, 0);
    SendMessageW(dialog, taskbarCreated, 0, 0);  // the icon is still there this time
    EXPECT_FALSE(IsWindowVisible(dialog)) << "a restarted shell gets the icon back";

    SendMessageW(dialog, WM_APP_TRAYNOTIFY, TrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_EQ(0u, watcher.Close());
    const std::vector<std::pair<uint64_t, bool>> expected = {
        {NIM_ADD, false}, {NIM_ADD, true},    {NIM_ADD, true},
        {NIM_ADD, false}, {NIM_MODIFY, true}, {NIM_DELETE, true}};
    EXPECT_EQ(expected, IconCalls(watcher.Calls()));
}

TEST(WatcherWindowTest, StartOptions)
{
    struct Case {
        std::vector<std::wstring> settings;
        bool toTray;
    } cases[] = {
        {{L"Minimize=1", L"MinToTray=1", L"TopMost=1"}, true},
        {{L"Minimize=1", L"TopMost=1"}, false},
    };
    for (const Case& c : cases) {
        WatcherSession watcher;
        ASSERT_TRUE(watcher.Start(c.settings));
        const HWND dialog = watcher.Window();
        // Wine shows a dialog once its queue first runs empty, whatever start-up did, so the
        // start-up is checked in the calls the program made. Minimising ends it; what that
        // posts runs before a close posted afterwards, so the calls are whole after the close.
        const auto shown = [&](uint64_t how) {
            return WaitUntil([&] { return Made(watcher, "ShowWindow", {Handle(dialog), how}); },
                             WindowPatienceMsec);
        };
        ASSERT_TRUE(shown(SW_MINIMIZE));
        EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        if (c.toTray) {
            ASSERT_TRUE(shown(SW_HIDE));
            SendMessageW(dialog, WM_APP_TRAYNOTIFY, TrayIconId, WM_LBUTTONUP);
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_FALSE(IsIconic(dialog));
        }
        EXPECT_EQ(MainTitle, watcher.Title());
        EXPECT_EQ(0u, watcher.Close());
        const std::vector<RelayCall> calls = watcher.Calls();
        const int minimised = FindCall(calls, "ShowWindow", {Handle(dialog), SW_MINIMIZE});
        const int added = FindCall(calls, "Shell_NotifyIconW", {NIM_ADD});
        const int hidden = FindCall(calls, "ShowWindow", {Handle(dialog), SW_HIDE});
        if (c.toTray) {
            EXPECT_LT(minimised, added);
            EXPECT_LT(added, hidden) << "straight into the notification area";
        } else {
            EXPECT_EQ(-1, added) << "minimised on the taskbar only";
            EXPECT_EQ(-1, hidden);
        }
        EXPECT_EQ(-1, FindCall(calls, "SetTimer", {Handle(dialog), TIMER_CLOCK}));
        // Elevated, the window would hear none of these from the hosts and the shell otherwise.
        for (uint64_t message : {uint64_t{RegisterWindowMessageW(AnnounceName)},
                                 uint64_t{RegisterWindowMessageW(L"TaskbarCreated")},
                                 uint64_t{WM_APP_TRAYNOTIFY}}) {
            EXPECT_GE(FindCall(calls, "ChangeWindowMessageFilterEx",
                               {Handle(dialog), message, MSGFLT_ALLOW, 0}), 0) << message;
        }
    }
}

TEST(WatcherWindowTest, EnterDoesNothingEscEnds)
{
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({}));
    ASSERT_TRUE(StartedUp(watcher.Window()));
    const HWND list = GetDlgItem(watcher.Window(), IDC_SOURCELIST);
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(list, WM_KEYUP, VK_RETURN, 0);
    // Posted after the keys, so handled after them, and only by a window still there.
    PostMessageW(watcher.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(watcher.Window()) != FALSE; }, WindowPatienceMsec));
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), watcher.WaitForExit(0));
    PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0u, watcher.WaitForExit(WindowPatienceMsec));
}

TEST(WatcherWindowTest, SortedListKeepsTheSelectedIndex)
{
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"UpdateMsec=100"}));
    const HWND dialog = watcher.Window();
    Refresh(dialog);
    EXPECT_TRUE(ListLines(dialog).empty());
    EXPECT_EQ(LB_ERR, SelectedLine(dialog));

    AnnouncerProcess announcers[4];
    const wchar_t* names[] = {L"BonDriver_A", L"BonDriver_B", L"BonDriver_C", L"BonDriver_D"};
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(announcers[i].StartWithText(TimeRecord(0, names[i])));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(AnnounceName), 0, 1195824314);
    ASSERT_TRUE(WaitUntil([&] { return ListLines(dialog).size() == 5; }, WindowPatienceMsec));
    std::vector<std::wstring> lines = ListLines(dialog);
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    EXPECT_EQ(0u, lines[0].find(L"00000000 ")) << "the broadcast entry comes first";
    EXPECT_NE(std::wstring::npos, lines[0].find(L" <Broadcast0> <Unknown>\n"));

    SendMessageW(GetDlgItem(dialog, IDC_SOURCELIST), LB_SETCURSEL, 2, 0);
    const std::wstring fourth = lines[3].substr(0, 8);
    for (AnnouncerProcess& announcer : announcers) {
        wchar_t key[9];
        wsprintfW(key, L"%08x", static_cast<unsigned>(Handle(announcer.Window())));
        if (lines[1].compare(0, 8, key) == 0) announcer.Stop();
    }
    ASSERT_TRUE(WaitUntil([&] { return ListLines(dialog).size() == 4; }, WindowPatienceMsec));
    Refresh(dialog);
    Refresh(dialog);
    EXPECT_EQ(2, SelectedLine(dialog)) << "the selection keeps its place, not its source";
    EXPECT_EQ(fourth, ListLines(dialog)[2].substr(0, 8));
    EXPECT_EQ(0u, watcher.Close());
}

// Slewing starts at the first clock tick; the clock is handed back before the icon goes.
TEST(WatcherWindowTest, ClosingWhileSlewingHandsTheClockBackFirst)
{
    AnnouncerProcess source;
    ASSERT_TRUE(source.StartWithText(TimeRecord(-30000, L"BonDriver_Behind")));
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", L"MinToTray=1", TrustAnnouncers()}));
    EXPECT_EQ(ClockIdleTitle, watcher.Title());
    ASSERT_TRUE(watcher.WaitForTitle(ClockAdjustingTitle, FirstClockTickMsec));
    PostMessageW(watcher.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(watcher.Window()); }, WindowPatienceMsec));
    EXPECT_EQ(0u, watcher.Close());

    const std::vector<RelayCall> calls = watcher.Calls();
    const uint64_t dialog = Handle(watcher.Window());
    EXPECT_LT(FindCall(calls, "SetTimer", {dialog, TIMER_CLOCK, ClockIdlePeriodMsec}),
              FindCall(calls, "SetTimer", {dialog, TIMER_CLOCK, ClockAdjustingPeriodMsec}));
    EXPECT_GE(FindCall(calls, "SetSystemTimeAdjustment", {SlowRate, FALSE}), 0);
    const int handBack = FindCall(calls, "SetSystemTimeAdjustment", {0, TRUE});
    EXPECT_GE(handBack, 0);
    EXPECT_LT(handBack, FindCall(calls, "Shell_NotifyIconW", {NIM_DELETE}));
}

TEST(WatcherWindowTest, SessionEndHandsTheClockBackForGood)
{
    AnnouncerProcess source;
    ASSERT_TRUE(source.StartWithText(TimeRecord(-30000, L"BonDriver_Behind")));
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", TrustAnnouncers()}));
    ASSERT_TRUE(watcher.WaitForTitle(ClockAdjustingTitle, FirstClockTickMsec));
    const uint64_t dialog = Handle(watcher.Window());
    SendMessageW(watcher.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    const std::vector<RelayCall> before = CallsOf(watcher.Calls(), "SetSystemTimeAdjustment");
    ASSERT_FALSE(before.empty());
    EXPECT_EQ((std::vector<uint64_t>{0, TRUE}), before.back().args) << "handed back";
    EXPECT_EQ(0u, watcher.Close());
    // No clock tick can come after the session end: its timer is gone and never set again.
    const std::vector<RelayCall> calls = watcher.Calls();
    const int killed = FindCall(calls, "KillTimer", {dialog, TIMER_CLOCK});
    ASSERT_GE(killed, 0);
    const std::vector<RelayCall> after(calls.begin() + killed, calls.end());
    EXPECT_EQ(-1, FindCall(after, "SetTimer", {dialog, TIMER_CLOCK}));
    EXPECT_EQ(before.size(), CallsOf(calls, "SetSystemTimeAdjustment").size())
        << "handed back once, and nothing slews after the session end";
}

// The dialog leaves the clock to the running service: no clock timer, no adjustment, and the
// title says why.
TEST(WatcherWindowTest, ClockSettingModeLeavesTheClockToTheRunningService)
{
    RunningService service;
    ASSERT_TRUE(WaitUntil([&] { return service.State() == SERVICE_RUNNING; }, WindowPatienceMsec));
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", TrustAnnouncers()}));
    EXPECT_TRUE(watcher.WaitForTitle(ServiceClockTitle, WindowPatienceMsec));
    EXPECT_EQ(0u, watcher.Close());
    const std::vector<RelayCall> calls = watcher.Calls();
    EXPECT_EQ(-1, FindCall(calls, "SetTimer", {Handle(watcher.Window()), TIMER_CLOCK}));
    EXPECT_TRUE(CallsOf(calls, "SetSystemTimeAdjustment").empty());
}

// A trusted source in step announces one time 11 years off, then in-step times again: the odd
// sample is held back, and the clock is never touched.
TEST(WatcherWindowTest, OneStrangeTimeNeverStartsASlew)
{
    AnnouncerProcess source;
    ASSERT_TRUE(source.StartWithText(TimeRecord(0, L"BonDriver_Step")));
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", L"UpdateMsec=100", TrustAnnouncers()}));
    ASSERT_TRUE(StartedUp(watcher.Window()));
    // Minimised, the window no longer refreshes its list: each GetLocalTime of its thread is
    // then a clock step.
    PostMessageW(watcher.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(watcher.Window()) != FALSE; }, WindowPatienceMsec));
    for (const int64_t offsetMsec : {int64_t{0}, ElevenYearsMsec, int64_t{0}}) {
        const std::wstring text = TimeRecord(offsetMsec, L"BonDriver_Step");
        SendMessageW(source.Window(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        // The second scan after the change read the new text; a clock step followed it.
        const size_t changed = watcher.Calls().size();
        ASSERT_TRUE(WaitUntil([&] {
            const std::vector<RelayCall> calls = watcher.Calls();
            const int scan = NthCallFrom(calls, changed, "SendMessageTimeoutW", 2);
            return scan >= 0 && NthCallFrom(calls, scan, "GetLocalTime", 1) >= 0;
        }, FirstClockTickMsec)) << offsetMsec;
    }
    EXPECT_EQ(0u, watcher.Close());
    EXPECT_TRUE(CallsOf(watcher.Calls(), "SetSystemTimeAdjustment").empty());
}

}  // namespace
