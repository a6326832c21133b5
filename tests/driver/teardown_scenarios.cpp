// The teardown in its hard cases: a notification thread that does not end in time, the library
// unloaded while a wrapper and its window are alive, and the process exiting with one.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "wrapper_folder.h"

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

// A wrapper whose window has published Time1.
IBonDriver* AnnouncingWrapper(WrapperFolder& folder, LoadedWrapper& library) {
    ResetProbe();
    UseStandardStream(Time1);
    CHECK(folder.Place(Name, L"test_driver.dll"));
    CHECK(library.Load(folder.WrapperPath()));
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

// The notification thread is held as it picks up the teardown's WM_CLOSE.
HWND HeldWindow = nullptr;
HANDLE Unblock = nullptr;

LRESULT CALLBACK HoldClose(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && HeldWindow && message->hwnd == HeldWindow &&
        message->message == WM_CLOSE) {
        HeldWindow = nullptr;
        WaitForSingleObject(Unblock, 20000);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
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
    const HWND window = OwnAnnounceWindow();
    Unblock = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, HoldClose, nullptr,
                                         GetWindowThreadProcessId(window, nullptr));
    CHECK(hook != nullptr);
    HeldWindow = window;

    ClearDebugCapture();
    const DWORD start = GetTickCount();
    wrapper->Release();
    const DWORD elapsed = GetTickCount() - start;
    CHECK(elapsed >= 4500 && elapsed < 8000);
    CHECK(FindCaptured(DriverReleased) >= 0);
    CHECK(FindCaptured(DriverUnloaded) >= 0);
    CHECK(FindCaptured(Done) < 0);
    CHECK(IsWindow(window));

    SetEvent(Unblock);
    CHECK(WaitForWindowGone(window, 3000));
    UnhookWindowsHookEx(hook);

    // The process has no live wrapper any more and can make a new one.
    IBonDriver* next = library.Create();
    CHECK(next != nullptr);
    if (next)
        next->Release();
    library.Unload();
    CHECK(GetModuleHandleW(folder.WrapperPath()) != nullptr);
    CloseHandle(Unblock);
}

// FreeLibrary with a live wrapper: under the loader lock the wrapper is released in full, the
// window closes and nothing waits for a thread that cannot end until the lock is free.
void UnloadScenario() {
    WrapperFolder folder(L"unload");
    LoadedWrapper library;
    IBonDriver* wrapper = AnnouncingWrapper(folder, library);
    if (!wrapper)
        return;
    const HWND window = OwnAnnounceWindow();
    ClearDebugCapture();
    const DWORD start = GetTickCount();
    library.Unload();
    CHECK(GetTickCount() - start < 2000);
    // The driver's module goes when the loader finishes this unload, after the wrapper's detach.
    ExpectOrder(NotReleased, DriverReleased);
    ExpectOrder(DriverReleased, Done);
    ExpectOrder(DriverReleased, DriverUnloaded);
    CHECK(!IsWindow(window));
    CHECK(!GetModuleHandleW(folder.WrapperPath()));
    CHECK(!GetModuleHandleW(folder.DriverPath()));

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
