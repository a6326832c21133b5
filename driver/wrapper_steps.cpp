#include "wrapper_steps.h"

#include "own_module.h"

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
    if (analyzer.StopAnnouncing())
        return true;
    PinOwnModule();
    return false;
}
