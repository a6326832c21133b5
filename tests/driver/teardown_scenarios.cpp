// The teardown in its hard cases: a notification thread that does not end in time, the library
// unloaded while a wrapper and its held window thread are alive, and the process exiting with
// one.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "wrapper_folder.h"
#include "wrapper_seams.h"

#include <shellapi.h>
#include <string.h>

namespace {

const WCHAR Name[] = L"BonDriver_Quellap";
const BroadcastTime Time1 = {2007, 11, 23, 13, 25, 14};
const char NotReleased[] = "BonDriver_Quellap::DllMain(): Driver Is Not Released!\n";
const char DriverReleased[] = "TestDriver::Release()\n";
const char DriverUnloaded[] = "TestDriver::DllMain(): detach\n";
const char Done[] = "CTsAnalyzer::~CTsAnalyzer(): Done\n";
const UINT ExitChildCode = 42;

// A wrapper with its seams whose window has published Time1.
IBonDriver* AnnouncingWrapper(WrapperFolder& folder, LoadedWrapper& library) {
    ResetProbe();
    UseStandardStream(Time1);
    CHECK(folder.Place(Name, L"test_driver.dll"));
    CHECK(library.Load(folder.WrapperPath()));
    InstallWrapperSeams(library.Handle());
    IBonDriver* wrapper = library.Create();
    CHECK(wrapper != nullptr);
    if (!wrapper)
        return nullptr;
    const bool announced = FeedUntilAnnounced(wrapper, Time1, Name);
    CHECK(announced);
    if (!announced) {
        wrapper->Release();
        return nullptr;
    }
    return wrapper;
}

// The notification thread is held in a hook as it takes a posted WM_NULL, until the wrapper
// waits for it.
HWND HeldWindow = nullptr;
HANDLE Holding = nullptr;
HANDLE Unblock = nullptr;

LRESULT CALLBACK HoldNull(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && HeldWindow && message->hwnd == HeldWindow &&
        message->message == WM_NULL) {
        HeldWindow = nullptr;
        SetEvent(Holding);
        WaitForSingleObject(Unblock, 30000);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Holds the thread of the window and makes the wrapper's bounded waits expire at once; the
// wrapper's next wait lets the thread go on. Returns the thread (for waiting on its end)
// and the hook.
HANDLE HoldNotifyThread(HWND window, HHOOK& hook) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    Holding = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    Unblock = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    hook = SetWindowsHookExW(WH_GETMESSAGE, HoldNull, nullptr, thread);
    CHECK(hook != nullptr);
    HeldWindow = window;
    PostMessageW(window, WM_NULL, 0, 0);
    CHECK_EQ(WaitForSingleObject(Holding, 30000), WAIT_OBJECT_0);
    WatchWrapperWaits();
    ExpireBoundedWaits(true, Unblock);
    return OpenThread(SYNCHRONIZE, FALSE, thread);
}

void EndHold(HANDLE thread, HHOOK hook) {
    ExpireBoundedWaits(false, nullptr);
    CHECK_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    CloseHandle(thread);
    UnhookWindowsHookEx(hook);
    CloseHandle(Holding);
    CloseHandle(Unblock);
}

// `first` comes before `second` in the captured output, both present.
void ExpectOrder(const char* first, const char* second) {
    const int a = FindCaptured(first);
    const int b = FindCaptured(second);
    CHECK(a >= 0 && b >= 0 && a < b);
    if (!(a >= 0 && b >= 0 && a < b))
        DumpCaptured();
}

bool ReadWholeFile(const WCHAR* path, char* text, DWORD capacity) {
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD read = 0;
    const BOOL ok = ReadFile(file, text, capacity - 1, &read, nullptr);
    CloseHandle(file);
    text[read] = 0;
    return ok != FALSE;
}

}  // namespace

// If the thread has not finished within 5000 ms, Release returns anyway; the wrapper and the
// analyser stay allocated and the library stays mapped for the thread, which ends later.
void StuckTeardownScenario() {
    WrapperFolder folder(L"stuck");
    LoadedWrapper library;
    IBonDriver* wrapper = AnnouncingWrapper(folder, library);
    if (!wrapper)
        return;
    HHOOK hook = nullptr;
    const HANDLE thread = HoldNotifyThread(OwnAnnounceWindow(), hook);
    ClearDebugCapture();
    wrapper->Release();
    CHECK_EQ(LatestWaitLimit(), 5000);
    CHECK(FindCaptured(DriverReleased) >= 0);
    CHECK(FindCaptured(DriverUnloaded) >= 0);
    CHECK(FindCaptured(Done) < 0);
    EndHold(thread, hook);
    CHECK_EQ(CountOwnAnnounceWindows(), 0);

    // The process has no live wrapper any more and makes a new one, which announces.
    IBonDriver* next = library.Create();
    CHECK(next != nullptr);
    if (next) {
        CHECK(FeedUntilAnnounced(next, Time1, Name));
        next->Release();
    }
    library.Unload();
    CHECK(GetModuleHandleW(folder.WrapperPath()) != nullptr);
}

// FreeLibrary with a live wrapper: under the loader lock the wrapper is released in full, the
// window closes, and the library, unmapped on return, waits for the notification thread for as
// long as that thread is held.
void UnloadScenario() {
    WrapperFolder folder(L"unload");
    LoadedWrapper library;
    IBonDriver* wrapper = AnnouncingWrapper(folder, library);
    if (!wrapper)
        return;
    const HWND window = OwnAnnounceWindow();
    HHOOK hook = nullptr;
    const HANDLE thread = HoldNotifyThread(window, hook);
    ClearDebugCapture();
    library.Unload();
    CHECK_EQ(LatestWaitLimit(), INFINITE);
    // The driver's module goes when the loader finishes this unload, after the wrapper's detach.
    ExpectOrder(NotReleased, DriverReleased);
    ExpectOrder(DriverReleased, Done);
    ExpectOrder(DriverReleased, DriverUnloaded);
    CHECK(!IsWindow(window));
    CHECK(!GetModuleHandleW(folder.WrapperPath()));
    CHECK(!GetModuleHandleW(folder.DriverPath()));
    EndHold(thread, hook);

    // The process goes on normally.
    CHECK(library.Load(folder.WrapperPath()));
    IBonDriver* again = library.Create();
    CHECK(again != nullptr);
    if (!again)
        return;
    CHECK(FeedUntilAnnounced(again, Time1, Name));
    again->Release();
}

// A process that exits with a live wrapper ends promptly with its own exit code; the wrapper
// writes its message and calls nothing of the driver, whose module is detached before it.
void ExitScenario() {
    WrapperFolder folder(L"exit");
    CHECK(folder.Place(Name, L"test_driver.dll"));
    WCHAR log[TestPathLength];
    wsprintfW(log, L"%s\\exit-child.log", folder.Folder());
    WCHAR program[TestPathLength];
    GetModuleFileNameW(nullptr, program, TestPathLength);
    WCHAR commandLine[3 * TestPathLength];
    wsprintfW(commandLine, L"\"%s\" exit-child \"%s\" \"%s\"", program, folder.WrapperPath(), log);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    CHECK(CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &child));
    if (!child.hProcess)
        return;
    CHECK_EQ(WaitForSingleObject(child.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(child.hProcess, &exitCode);
    CHECK_EQ(exitCode, ExitChildCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    static char text[16384];
    CHECK(ReadWholeFile(log, text, sizeof text));
    const char* announced = strstr(text, "CTsAnalyzer::OnTotUpdated(): 2007-11-23T13:25:14\n");
    const char* unloaded = strstr(text, DriverUnloaded);
    const char* notReleased = strstr(text, NotReleased);
    CHECK(announced && unloaded && notReleased);
    CHECK(announced < unloaded && unloaded < notReleased);
    CHECK(!strstr(text, "TestDriver::Release()"));
    if (!(announced && unloaded && notReleased))
        Print("child's debug output:\n%s\n", text);
    DeleteFileW(log);
}

void ExitChild() {
    int argc = 0;
    WCHAR** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 4)
        ExitProcess(3);
    const HANDLE log = CreateFileW(argv[3], GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
    MirrorDebugCapture(log);
    ResetProbe();
    UseStandardStream(Time1);
    LoadedWrapper library;
    if (!library.Load(argv[2]))
        ExitProcess(4);
    IBonDriver* wrapper = library.Create();
    if (!wrapper || !FeedUntilAnnounced(wrapper, Time1, Name))
        ExitProcess(5);
    ExitProcess(ExitChildCode);
}
