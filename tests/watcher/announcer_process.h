// Starts crafted announcers (announcer.exe beside the test program, or a copy of it) and finds
// their windows.
#pragma once

#include <windows.h>

#include <string>

#include "private_desktop.h"

// The directory of the running test program, with a trailing backslash.
std::wstring TestProgramDirectory();

// The long path of the announcer program beside the test program.
std::wstring AnnouncerProgramPath();

class AnnouncerProcess {
public:
    AnnouncerProcess() = default;
    AnnouncerProcess(const AnnouncerProcess&) = delete;
    AnnouncerProcess& operator=(const AnnouncerProcess&) = delete;
    ~AnnouncerProcess() { Stop(); }

    // Starts the announcer `program` with `options` (see announcer.cpp) and waits until its
    // window exists; false when it did not come up within 10 s.
    bool Start(const std::wstring& options, const std::wstring& program = AnnouncerProgramPath());
    // Starts it with the text only; the text must not contain '"'.
    bool StartWithText(const std::wstring& text, const std::wstring& moreOptions = L"",
                       const std::wstring& program = AnnouncerProgramPath());
    // Starts it with the text on `desktop` and waits until it is ready; its window is out of
    // this desktop's reach, so Window() stays NULL.
    bool StartOnDesktop(const std::wstring& text, const PrivateDesktop& desktop);
    // Terminates the process and waits for its end.
    void Stop();

    HWND Window() const { return AnnouncerWindow; }
    DWORD ProcessId() const { return Process.dwProcessId; }

private:
    // Starts the announcer and waits for its ready event; false when it did not come up.
    bool Launch(const std::wstring& options, const std::wstring& program,
                const PrivateDesktop* desktop);

    PROCESS_INFORMATION Process = {};
    HWND AnnouncerWindow = NULL;
};
