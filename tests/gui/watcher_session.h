// One run of the watcher program for a window test: a copy of Horavant.exe in a folder of its
// own with the given settings, started with the relay trace on, watched from outside.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "relay_trace.h"

// Set from the command line by the test's main (see gui_main.cpp).
extern std::wstring WatcherProgram;  // the built Horavant.exe
extern std::wstring RelayLogPath;    // where this process's stderr, and the trace, goes

constexpr DWORD WindowPatienceMsec = 10000;

// Waits until `condition` holds, polling; false when `milliseconds` pass first.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);

// Deletes a folder of files (not of folders) made for a test.
void RemoveFolder(const std::wstring& folder);

// The watcher's list line that ends with `ending`, or an empty text.
std::wstring LineEndingWith(HWND dialog, const std::wstring& ending);

// The relay trace written so far from byte `offset` on.
std::string RelayTraceSince(LONGLONG offset);

class WatcherSession {
public:
    WatcherSession() = default;
    WatcherSession(const WatcherSession&) = delete;
    WatcherSession& operator=(const WatcherSession&) = delete;
    ~WatcherSession();

    // Copies the program into a folder of its own and writes the settings (lines of the
    // [Horavant] section) beside it; false when that fails.
    bool Install(const std::vector<std::wstring>& settings,
                 const std::wstring& program = WatcherProgram);
    // Installs the program, starts it and waits for its window; false when it does not appear.
    bool Start(const std::vector<std::wstring>& settings,
               const std::wstring& program = WatcherProgram);
    HWND Window() const { return Dialog; }
    // The copy of the program that runs, with its settings beside it.
    std::wstring Program() const { return Folder + L"\\Horavant.exe"; }
    std::wstring Title() const;
    bool WaitForTitle(const std::wstring& title, DWORD milliseconds);
    // The watched system calls the program has made so far.
    std::vector<RelayCall> Calls() const;
    // Waits for the program's end; its exit code, or STILL_ACTIVE when it goes on running.
    DWORD WaitForExit(DWORD milliseconds);
    // Closes the window as Esc does and returns the exit code.
    DWORD Close();

private:
    std::wstring Folder;
    PROCESS_INFORMATION Process = {};
    HWND Dialog = NULL;
    LONGLONG TraceStart = 0;  // the trace file's size when the program started
};
