#include "owner_module_path.h"

namespace {

// A name of this length or more may have been cut.
constexpr DWORD NameLimit = ModulePathSize - 1;

bool Whole(DWORD length)
{
    return length >= 1 && length < NameLimit;
}

}  // namespace

DWORD FindOwnerModulePath(const OwnerPathCalls& calls, HWND window,
                          WCHAR (&path)[ModulePathSize])
{
    const HANDLE process = calls.OpenOwner(window);
    if (process == nullptr) return 0;
    WCHAR name[ModulePathSize];
    const bool found = Whole(calls.MainModuleName(process, name, ModulePathSize)) ||
                       Whole(calls.ImageName(process, name, ModulePathSize));
    calls.Close(process);
    if (!found) return 0;
    const DWORD length = calls.LongPathName(name, path, ModulePathSize);
    return length >= 1 && length < ModulePathSize ? length : 0;
}
