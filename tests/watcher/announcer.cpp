// A crafted announcer for the scanner's tests: a message-only window of class AnnounceName
// with a given text, in a process of its own.
//
// Usage: announcer [--ready EVENT] [--silent] [--claim N] [--text TEXT]
//   --ready   sets the named event once the window exists
//   --silent  never answers: the window's thread stops taking messages
//   --claim   answers WM_GETTEXT with the text as usual but reports N characters copied
// The process runs until its window is closed (WM_CLOSE) or it is terminated.
#include <windows.h>

#include <stdlib.h>

#include <string>

#include "announce_name.h"

namespace {

std::wstring Text;
bool Claiming = false;
LRESULT ClaimedLength = 0;

LRESULT CALLBACK AnnouncerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETTEXT:
        if (Claiming) {
            const size_t room = wParam == 0 ? 0 : wParam - 1;
            const size_t length = Text.copy(reinterpret_cast<WCHAR*>(lParam), room);
            if (wParam != 0) reinterpret_cast<WCHAR*>(lParam)[length] = 0;
            return ClaimedLength;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* readyEvent = nullptr;
    bool silent = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == L"--ready" && hasValue) readyEvent = argv[++i];
        else if (option == L"--silent") silent = true;
        else if (option == L"--claim" && hasValue) {
            Claiming = true;
            ClaimedLength = _wtoi(argv[++i]);
        } else if (option == L"--text" && hasValue) Text = argv[++i];
        else return 2;
    }

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = AnnouncerProc;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = AnnounceName;
    if (!RegisterClassW(&windowClass)) return 1;
    const HWND window = CreateWindowExW(0, AnnounceName, NULL, 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                        windowClass.hInstance, NULL);
    if (window == NULL) return 1;
    SetWindowTextW(window, Text.c_str());

    if (readyEvent != nullptr) {
        const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent);
        if (ready != NULL) {
            SetEvent(ready);
            CloseHandle(ready);
        }
    }
    if (silent) {
        for (;;) Sleep(INFINITE);
    }
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
