// A shell too busy to take icons, as at sign-in: Shell_NotifyIconW hands its request to the
// first window of class Shell_TrayWnd, and this one, above the shell's own, refuses it.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

class BusyShell {
public:
    BusyShell();  // returns once it answers
    BusyShell(const BusyShell&) = delete;
    BusyShell& operator=(const BusyShell&) = delete;
    ~BusyShell();

private:
    void Run();

    std::atomic<HWND> Window{NULL};
    std::thread Thread;
};
