// The watcher's window from outside, as a user drives it: tray round trip, start-up options,
// keys, the sorted list with its selection, and the clock handed back at every way out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "announce_name.h"
#include "announcer_process.h"
#include "clock_view.h"
#include "main_window.h"
#include "test_build_clock.h"
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

// Wine shows a dialog once its queue first runs empty, and so restores it if a minimise came
// first; the window is visible before. Between two list refreshes (each takes the local time)
// the queue has run empty: start-up is over.
bool StartedUp(const WatcherSession& watcher)
{
    return WaitUntil([&] { return CallsOf(watcher.Calls(), "GetLocalTime").size() >= 2; },
                     WindowPatienceMsec);
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

// A shell too busy to take icons, as at sign-in: Shell_NotifyIconW sends its request to the
// first window of class Shell_TrayWnd, and this one, topmost and so found before the shell's
// own, refuses it while the test waits for icon calls.
class BusyShell {
public:
    BusyShell()
    {
        WNDCLASSW type = {};
        type.lpfnWndProc = Refuse;
        type.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&type);  // fails harmlessly when an earlier one registered it
        Window = CreateWindowExW(WS_EX_TOPMOST, type.lpszClassName, NULL, WS_POPUP, 0, 0, 0, 0,
                                 NULL, NULL, NULL, NULL);
    }
    ~BusyShell() { DestroyWindow(Window); }

private:
    static LRESULT CALLBACK Refuse(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return message == WM_COPYDATA ? FALSE : DefWindowProcW(window, message, wParam, lParam);
    }
    HWND Window;
};

// Waits until the program has made `count` icon calls and the last of them has returned.
bool WaitForIconCalls(const WatcherSession& watcher, size_t count)
{
    return WaitUntil([&] {
        MSG sent;
        PeekMessageW(&sent, NULL, 0, 0, PM_NOREMOVE);  // a busy shell's requests
        const std::vector<RelayCall> icon = CallsOf(watcher.Calls(), "Shell_NotifyIconW");
        return icon.size() >= count && icon[count - 1].returned;
    }, WindowPatienceMsec + TrayRetries * TrayRetryMsec);
}

// NIM_DELETE: what a restarting shell does to the program's icon. NIM_ADD: what a shell busy at
// sign-in does after the program's NIM_ADD has timed out, which a second NIM_ADD finds there.
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
    ASSERT_TRUE(StartedUp(watcher));
    EXPECT_FALSE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ShellIcon(NIM_ADD, dialog);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, WindowPatienceMsec))
        << "the late icon deleted and added again";
    SendMessageW(dialog, WM_APP_TRAYNOTIFY, TrayIconId, WM_LBUTTONUP);
    {
        BusyShell shell;  // tried four times, unless the user restores the window meanwhile
        PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);  // before the first retry
        ASSERT_TRUE(WaitForIconCalls(watcher, 6));
        EXPECT_FALSE(IsIconic(dialog)) << "a window restored meanwhile stays";
        PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitForIconCalls(watcher, 7 + 2 * TrayRetries));
        EXPECT_TRUE(IsIconic(dialog) && IsWindowVisible(dialog)) << "left on the taskbar";
    }
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
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
    std::vector<std::pair<uint64_t, bool>> expected = {
        {NIM_ADD, false}, {NIM_DELETE, true}, {NIM_ADD, true}, {NIM_DELETE, true},
        {NIM_ADD, false}, {NIM_DELETE, false}, {NIM_ADD, false}};
    for (int retry = 0; retry < TrayRetries; ++retry) {
        expected.insert(expected.end(), {{NIM_DELETE, false}, {NIM_ADD, false}});
    }
    expected.insert(expected.end(), {{NIM_ADD, true}, {NIM_ADD, true}, {NIM_ADD, false},
                                     {NIM_MODIFY, true}, {NIM_DELETE, true}});
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
    ASSERT_TRUE(StartedUp(watcher));
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
    ASSERT_TRUE(StartedUp(watcher));
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

// WM_DPICHANGED as Windows sends it, the suggested place in the program's own memory.
void SendDpiChanged(HWND dialog, UINT dpi, const RECT& suggested)
{
    DWORD id = 0;
    GetWindowThreadProcessId(dialog, &id);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    void* place = VirtualAllocEx(process, NULL, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process, place, &suggested, sizeof suggested, NULL);
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(place));
    VirtualFreeEx(process, place, 0, MEM_RELEASE);
    CloseHandle(process);
}

// The list's margins: left, top, right, bottom, in pixels.
std::vector<LONG> ListMargins(HWND dialog)
{
    RECT list, client;
    GetWindowRect(GetDlgItem(dialog, IDC_SOURCELIST), &list);
    MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&list), 2);
    GetClientRect(dialog, &client);
    return {list.left, list.top, client.right - list.right, client.bottom - list.bottom};
}

// Wine 8 knows the first per-monitor awareness only, as Windows 8.1 to 10 1607 do: there a
// window keeps its size in pixels when its DPI changes unless it takes the place Windows
// suggests. The list's margin follows the DPI.
TEST(WatcherWindowTest, DpiChangeResizesAndScalesTheMargin)
{
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({}));
    const HWND dialog = watcher.Window();
    ASSERT_TRUE(StartedUp(watcher));
    ASSERT_TRUE(AreDpiAwarenessContextsEqual(GetWindowDpiAwarenessContext(dialog),
                                             DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
    EXPECT_EQ((std::vector<LONG>{10, 10, 10, 10}), ListMargins(dialog)) << "at 96 DPI";
    RECT suggested, place;
    GetWindowRect(dialog, &suggested);
    suggested.right += suggested.right - suggested.left;
    suggested.bottom += suggested.bottom - suggested.top;
    SendDpiChanged(dialog, 192, suggested);
    GetWindowRect(dialog, &place);
    EXPECT_TRUE(EqualRect(&suggested, &place));
    EXPECT_EQ((std::vector<LONG>{20, 20, 20, 20}), ListMargins(dialog));
    EXPECT_EQ(0u, watcher.Close());
}

// What the test build's clock plays (test_build_clock.h) for the programs started meanwhile.
class TestClock {
public:
    explicit TestClock(const wchar_t* mode) { SetEnvironmentVariableW(TestClockVariable, mode); }
    ~TestClock() { SetEnvironmentVariableW(TestClockVariable, NULL); }
};

const std::wstring TestBuild = WindowsPathOfUnix(QUELLAP_HORAVANT_TEST_BUILD_UNIX);

bool ProgramHolds(const std::wstring& program, const std::wstring& text)
{
    std::ifstream file(program.c_str(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return bytes.find(std::string(reinterpret_cast<const char*>(text.data()),
                                  text.size() * sizeof(wchar_t))) != std::string::npos;
}

// The exception filter hands the clock back before the system (here Wine's debugger) ends the
// program. The shipped program cannot be made to crash so.
TEST(WatcherWindowTest, CrashWhileSlewingHandsTheClockBack)
{
    AnnouncerProcess source;
    ASSERT_TRUE(source.StartWithText(TimeRecord(-30000, L"BonDriver_Behind")));
    TestClock crash(CrashWhileSlewing);
    WatcherSession watcher;
    ASSERT_TRUE(watcher.Start({L"SetTime=1", TrustAnnouncers()}, TestBuild));
    // Wine's debugger ends the program, slowly on a busy machine (40 s seen).
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION),
              watcher.WaitForExit(FirstClockTickMsec + 12 * WindowPatienceMsec));
    const std::vector<RelayCall> calls = watcher.Calls();
    const int slewing = FindCall(calls, "SetSystemTimeAdjustment", {SlowRate, FALSE});
    EXPECT_GE(slewing, 0);
    EXPECT_LT(slewing, FindCall(calls, "SetSystemTimeAdjustment", {0, TRUE}));
    EXPECT_TRUE(ProgramHolds(TestBuild, TestClockVariable));
    EXPECT_FALSE(ProgramHolds(WatcherProgram, TestClockVariable));
}

// A copy killed while slewing leaves its rate machine-wide: the next start in clock-setting mode
// hands it back before the window exists; watching only, it leaves the clock alone.
TEST(WatcherWindowTest, StartHandsBackTheSlewOfAKilledCopy)
{
    TestClock leftover(LeftoverSlew);
    for (const bool setTime : {true, false}) {
        WatcherSession watcher;
        ASSERT_TRUE(watcher.Start({setTime ? L"SetTime=1" : L"SetTime=0"}, TestBuild));
        EXPECT_EQ(0u, watcher.Close());
        const std::vector<RelayCall> calls = watcher.Calls();
        const int handBack = FindCall(calls, "SetSystemTimeAdjustment", {0, TRUE});
        const int window = FindCall(calls, "SetTimer", {Handle(watcher.Window()), TIMER_SCAN});
        EXPECT_EQ(setTime, handBack >= 0 && handBack < window) << setTime;
        EXPECT_EQ(setTime ? 1u : 0u, CallsOf(calls, "SetSystemTimeAdjustment").size());
    }
}

}  // namespace
