// The library entry and its one export: CreateBonDriver loads the wrapped driver, asks how far
// its object implements the host interface and returns a wrapper of exactly that level.
#include "bon_driver2_wrapper.h"
#include "bon_driver3_wrapper.h"
#include "bon_driver_wrapper.h"
#include "new_delete.h"
#include "own_module.h"
#include "wrapped_driver_loader.h"

HMODULE OwnModule = nullptr;

namespace {

typedef IBonDriver*(__cdecl* CreateBonDriverFunction)();

// The process's single live wrapper; cleared by its Release through LiveWrapperSlot.
IBonDriver* LiveWrapper = nullptr;

void Trace(const WCHAR* text) { OutputDebugStringW(text); }

// Writes the level, which ends the line begun before the factory call, then allocates the
// wrapper; null when the allocation fails.
IBonDriver* WrapAtDriverLevel(IBonDriver* driver, HMODULE module, const WCHAR* name) {
    IBonDriver2* driver2 = dynamic_cast<IBonDriver2*>(driver);
    if (!driver2) {
        Trace(L"return IBonDriver\n");
        return new (std::nothrow) CBonDriverWrapper(driver, module, name, &LiveWrapper);
    }
    IBonDriver3* driver3 = dynamic_cast<IBonDriver3*>(driver2);
    if (!driver3) {
        Trace(L"return IBonDriver2\n");
        return new (std::nothrow) CBonDriver2Wrapper(driver2, module, name, &LiveWrapper);
    }
    Trace(L"return IBonDriver3\n");
    return new (std::nothrow) CBonDriver3Wrapper(driver3, module, name, &LiveWrapper);
}

}  // namespace

extern "C" __declspec(dllexport) IBonDriver* CreateBonDriver() {
    if (LiveWrapper)
        return LiveWrapper;
    WCHAR name[SourceNameLimit + 1];
    const HMODULE module = LoadWrappedDriver(name);
    if (!module) {
        Trace(L"BonDriver_Quellap::CreateBonDriver(): LoadLibrary Failed\n");
        return nullptr;
    }
    const CreateBonDriverFunction factory =
        reinterpret_cast<CreateBonDriverFunction>(GetProcAddress(module, "CreateBonDriver"));
    if (!factory) {
        Trace(L"BonDriver_Quellap::CreateBonDriver(): GetProcAddress Failed\n");
        FreeLibrary(module);
        return nullptr;
    }
    Trace(L"BonDriver_Quellap::CreateBonDriver(): ");
    IBonDriver* const driver = factory();
    if (!driver) {
        Trace(L"Failed\n");
        FreeLibrary(module);
        return nullptr;
    }
    IBonDriver* const wrapper = WrapAtDriverLevel(driver, module, name);
    if (!wrapper) {
        // Nobody else would ever release the driver or unload its module.
        driver->Release();
        FreeLibrary(module);
        return nullptr;
    }
    LiveWrapper = wrapper;
    return wrapper;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        OwnModule = instance;
    } else if (reason == DLL_PROCESS_DETACH && LiveWrapper) {
        Trace(L"BonDriver_Quellap::DllMain(): Driver Is Not Released!\n");
        // A non-null `reserved` means the process is exiting: its other threads are gone and
        // the wrapped driver's module, loaded after this one, has already been detached. Calling
        // into it or unloading anything could crash the exit, so the wrapper is left to the
        // system. When the library is unloaded by FreeLibrary, the full release is safe.
        if (reserved) {
            LiveWrapper = nullptr;
        } else {
            UnloadingLibrary = true;
            LiveWrapper->Release();
        }
    }
    return TRUE;
}
