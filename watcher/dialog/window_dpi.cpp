#include "window_dpi.h"

namespace {

// A function of a system DLL, or null on a Windows without it. The DLL stays loaded.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name)
{
    const HMODULE module = LoadLibraryExW(dll, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// From Windows 8.1: GetDpiForMonitor; 10 1607: the others; 10 1703: SetDialogDpiChangeBehavior.
using DpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using DpiForWindowCall = UINT(WINAPI*)(HWND);
using WindowContextCall = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
using ContextsEqualCall = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
using DialogBehaviourCall = BOOL(WINAPI*)(HWND, int, int);

constexpr int EffectiveDpi = 0;      // MDT_EFFECTIVE_DPI
constexpr int NoItemRelayout = 0x4;  // DDC_DISABLE_CONTROL_RELAYOUT

UINT MonitorDpi(HWND window)
{
    static const auto forMonitor =
        SystemFunction<DpiForMonitorCall>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    return forMonitor && SUCCEEDED(forMonitor(monitor, EffectiveDpi, &x, &y)) ? x : 0;
}

UINT SystemDpi()
{
    const HDC screen = GetDC(NULL);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(NULL, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND window)
{
    static const auto forWindow =
        SystemFunction<DpiForWindowCall>(L"user32.dll", "GetDpiForWindow");
    UINT dpi = forWindow ? forWindow(window) : 0;
    if (dpi == 0) dpi = MonitorDpi(window);
    return dpi != 0 ? dpi : SystemDpi();
}

bool DialogScalesItself(HWND window)
{
    static const auto context =
        SystemFunction<WindowContextCall>(L"user32.dll", "GetWindowDpiAwarenessContext");
    static const auto equal =
        SystemFunction<ContextsEqualCall>(L"user32.dll", "AreDpiAwarenessContextsEqual");
    return context && equal &&
           equal(context(window), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;
}

void KeepItemsInPlace(HWND dialog)
{
    static const auto behave =
        SystemFunction<DialogBehaviourCall>(L"user32.dll", "SetDialogDpiChangeBehavior");
    if (behave) behave(dialog, NoItemRelayout, NoItemRelayout);
}
