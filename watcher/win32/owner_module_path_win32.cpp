#include "scan_win32.h"

#include <psapi.h>

namespace {

HANDLE OpenOwner(HWND window)
{
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId) == 0) return NULL;
    return OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
}

// The first module of a process is its executable.
DWORD MainModuleName(HANDLE process, WCHAR* name, DWORD size)
{
    HMODULE module = NULL;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed) || needed < sizeof module) {
        return 0;
    }
    return GetModuleFileNameExW(process, module, name, size);
}

DWORD ImageName(HANDLE process, WCHAR* name, DWORD size)
{
    DWORD length = size;
    return QueryFullProcessImageNameW(process, 0, name, &length) ? length : 0;
}

}  // namespace

const OwnerPathCalls Win32OwnerPathCalls = {
    OpenOwner,
    MainModuleName,
    ImageName,
    [](const WCHAR* path, WCHAR* buffer, DWORD size) { return GetLongPathNameW(path, buffer, size); },
    [](HANDLE process) { CloseHandle(process); },
};

DWORD GetOwnerModulePath(HWND window, WCHAR (&path)[ModulePathSize])
{
    return FindOwnerModulePath(Win32OwnerPathCalls, window, path);
}
