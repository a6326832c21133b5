// DLL entry: static initialisers before DllMain sees the attach, exit handlers after the detach.
#include <windows.h>

#include "static_init.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        RunStaticInitializers();
    BOOL result = DllMain(instance, reason, reserved);
    if (reason == DLL_PROCESS_DETACH)
        RunExitHandlers();
    return result;
}
