// Where the settings file lies: beside the program, with the program's long base name and the
// extension ".ini".
#pragma once

#include "win32_types.h"

constexpr DWORD SettingsPathSize = 260;  // UTF-16 units with the terminator

// The platform calls the path is formed with (on Windows GetModuleFileNameW of the running
// executable, GetLongPathNameW, PathRenameExtensionW).
struct SettingsPathCalls {
    DWORD (*ModuleFileName)(WCHAR* buffer, DWORD size);
    DWORD (*LongPathName)(const WCHAR* path, WCHAR* buffer, DWORD size);
    BOOL (*RenameExtension)(WCHAR* path, const WCHAR* extension);
};

// False when a call fails or its result does not fit; `path` is then unspecified.
bool FormSettingsPath(const SettingsPathCalls& calls, WCHAR (&path)[SettingsPathSize]);
