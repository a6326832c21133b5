#include "source_scanner_win32.h"

#include <psapi.h>

namespace {

// Module names of this length or more may have been cut.
constexpr DWORD ImageNameLimit = ModulePathSize - 1;

// The first module of the process is its executable. Fails for a 64-bit process read from a
// 32-bit one.
bool MainModuleName(HANDLE process, WCHAR (&name)[ModulePathSize])
{
    HMODULE module = NULL;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed) || needed < sizeof module) {
        return false;
    }
    const DWORD length = GetModuleFileNameExW(process, module, name, ModulePathSize);
    return length >= 1 && length < ImageNameLimit;
}

// Works across bitness, so a 64-bit host's executable is found too.
bool ImageName(HANDLE process, WCHAR (&name)[ModulePathSize])
{
    DWORD length = ModulePathSize;
    return QueryFullProcessImageNameW(process, 0, name, &length) && length >= 1 &&
           length < ImageNameLimit;
}

}  // namespace

DWORD GetOwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize])
{
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId) == 0) return 0;
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == NULL) return 0;
    WCHAR name[ModulePathSize];
    const bool found = MainModuleName(process, name) || ImageName(process, name);
    CloseHandle(process);
    if (!found) return 0;
    const DWORD length = GetLongPathNameW(name, path, ModulePathSize);
    return length >= 1 && length < ModulePathSize ? length : 0;
}
