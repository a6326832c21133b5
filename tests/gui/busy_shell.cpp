#include "busy_shell.h"

#include "watcher_session.h"

namespace {

LRESULT CALLBACK Refuse(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) return FALSE;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

BusyShell::BusyShell() : Thread([this] { Run(); })
{
    WaitUntil([this] { return Window.load() != NULL; }, WindowPatienceMsec);
}

BusyShell::~BusyShell()
{
    PostMessageW(Window, WM_CLOSE, 0, 0);
    Thread.join();
}

void BusyShell::Run()
{
    WNDCLASSW type = {};
    type.lpfnWndProc = Refuse;
    type.hInstance = GetModuleHandleW(NULL);
    type.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&type);  // fails harmlessly when an earlier one registered it
    // Topmost, so found before the shell's own.
    Window = CreateWindowExW(WS_EX_TOPMOST, type.lpszClassName, NULL, WS_POPUP, 0, 0, 0, 0, NULL,
                             NULL, type.hInstance, NULL);
    MSG message;
    while (Window.load() != NULL && GetMessageW(&message, NULL, 0, 0) > 0) DispatchMessageW(&message);
}
