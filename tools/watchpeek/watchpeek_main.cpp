// watchpeek: shows what the watcher's main window shows, read from another process.
//
// Usage: watchpeek show             title and list lines
//        watchpeek wait STATE SECS  waits until the title shows STATE: plain (watching only),
//                                   mode (clock-setting mode) or adjusting (setting the clock);
//                                   exit 1 on time-out
//        watchpeek rect             the window's screen rectangle: x y width height
//        watchpeek close            asks the window to close, as Esc does
// Exit status 2 when no watcher window exists (wait: until the time-out).
#include <windows.h>

#include <stdlib.h>

#include <string>

#include "window_peek.h"
#include "window_titles.h"

namespace {

void Print(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, NULL);
}

int Show(HWND window)
{
    Print("title: " + Utf8(WindowTitle(window)) + "\n");
    for (const std::wstring& line : ListLines(window)) Print("line: " + Utf8(line));
    return 0;
}

// The title of each state that "wait" knows, or null.
const WCHAR* TitleOfState(const std::wstring& state)
{
    if (state == L"plain") return MainTitle;
    if (state == L"mode") return ClockIdleTitle;
    if (state == L"adjusting") return ClockAdjustingTitle;
    return nullptr;
}

int Wait(const std::wstring& title, DWORD seconds)
{
    const DWORD start = GetTickCount();
    do {
        const HWND window = FindWatcherWindow();
        if (window && WindowTitle(window) == title) return 0;
        Sleep(50);
    } while (GetTickCount() - start < seconds * 1000);
    return FindWatcherWindow() ? 1 : 2;
}

int Rect(HWND window)
{
    RECT r;
    if (!GetWindowRect(window, &r)) return 2;
    Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
          std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + "\n");
    return 0;
}

int Usage()
{
    Print("usage: watchpeek show | wait plain|mode|adjusting SECONDS | rect | close\n");
    return 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    if (command == L"wait" && argc == 4 && TitleOfState(argv[2])) {
        return Wait(TitleOfState(argv[2]), wcstoul(argv[3], NULL, 10));
    }
    if (argc != 2) return Usage();
    const HWND window = FindWatcherWindow();
    if (command != L"show" && command != L"rect" && command != L"close") return Usage();
    if (!window) {
        Print("watchpeek: no watcher window\n");
        return 2;
    }
    if (command == L"show") return Show(window);
    if (command == L"rect") return Rect(window);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return 0;
}
