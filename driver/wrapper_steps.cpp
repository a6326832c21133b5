#include "wrapper_steps.h"

#include "own_module.h"

bool UnloadingLibrary = false;

namespace {

// A notification thread that outlived the teardown still runs this library's code, so the
// library must never be unmapped.
void PinOwnModule() {
    HMODULE pinned;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(OwnModule), &pinned);
}

}  // namespace

bool ReleaseWrapped(IBonDriver** liveWrapperSlot, IBonDriver* driver, HMODULE module,
                    CTsAnalyzer& analyzer) {
    if (liveWrapperSlot)
        *liveWrapperSlot = nullptr;
    driver->Release();
    FreeLibrary(module);
    // Being unloaded, the library is unmapped as soon as DllMain returns, pinned or not: only
    // waiting until the thread has left its code is safe then.
    const DWORD bound = UnloadingLibrary ? INFINITE : CTsAnalyzer::NotifyThreadWait;
    if (analyzer.StopAnnouncing(bound))
        return true;
    PinOwnModule();
    return false;
}
