// GUI program entry: wWinMain with the wide command line.
#include <windows.h>

#include "static_init.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

extern "C" void __cdecl wWinMainCRTStartup()
{
    RunStaticInitializers();
    int status = wWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWDEFAULT);
    RunExitHandlers();
    ExitProcess(static_cast<UINT>(status));
}
