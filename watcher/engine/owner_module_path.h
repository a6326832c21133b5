// The executable of the process that owns an announcement window, found through a table of
// platform calls so the order of the routes and their limits can be driven by tests.
#pragma once

#include "source_table.h"

// On Windows: GetWindowThreadProcessId with OpenProcess (query and read access),
// EnumProcessModules with GetModuleFileNameExW for the first module, QueryFullProcessImageNameW,
// GetLongPathNameW and CloseHandle. Lengths are in UTF-16 units without the terminator; a name
// call writes at most `size` units with its terminator and returns 0 on failure.
struct OwnerPathCalls {
    HANDLE (*OpenOwner)(HWND window);  // NULL when the window has no owner or it cannot be opened
    DWORD (*MainModuleName)(HANDLE process, WCHAR* name, DWORD size);
    DWORD (*ImageName)(HANDLE process, WCHAR* name, DWORD size);
    DWORD (*LongPathName)(const WCHAR* path, WCHAR* buffer, DWORD size);
    void (*Close)(HANDLE process);
};

// The long path of the owner's executable and its length; 0 on failure, `path` then
// unspecified. The main module's name is asked first; when that fails (a 32-bit reader cannot
// list a 64-bit process's modules) the process image name is asked instead.
DWORD FindOwnerModulePath(const OwnerPathCalls& calls, HWND window,
                          WCHAR (&path)[ModulePathSize]);
