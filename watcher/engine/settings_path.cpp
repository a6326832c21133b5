#include "settings_path.h"

// A result of 0 is a failure, one of the buffer's size or more a cut or a request for room.
static bool Fits(DWORD length)
{
    return length >= 1 && length < SettingsPathSize;
}

bool FormSettingsPath(const SettingsPathCalls& calls, WCHAR (&path)[SettingsPathSize])
{
    WCHAR modulePath[SettingsPathSize];
    return Fits(calls.ModuleFileName(modulePath, SettingsPathSize)) &&
           Fits(calls.LongPathName(modulePath, path, SettingsPathSize)) &&
           calls.RenameExtension(path, L".ini");
}
