#include "test_driver_module.h"

namespace {

TestDriverProbe NoProbe = {};

}  // namespace

TestDriverProbe* Probe = &NoProbe;
bool Detached = false;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (TestDriverProbe* probe = FindTestDriverProbe())
            Probe = probe;
        InterlockedIncrement(&Probe->attachCount);
    } else if (reason == DLL_PROCESS_DETACH) {
        Detached = true;
        InterlockedIncrement(&Probe->detachCount);
        OutputDebugStringW(L"TestDriver::DllMain(): detach\n");
    }
    return TRUE;
}
