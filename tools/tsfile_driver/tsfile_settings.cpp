#include "tsfile_settings.h"

#include <shlwapi.h>

namespace {

const WCHAR Section[] = L"TsFile";

void ReadNumber(const WCHAR* ini, const WCHAR* key, DWORD min, DWORD max, DWORD& number) {
    const UINT value = GetPrivateProfileIntW(Section, key, number, ini);
    if (value >= min && value <= max)
        number = value;
}

// The settings file's path and the folder that a relative File starts from. The long form, so
// that a driver loaded under its short name still finds its settings.
bool FormPaths(HMODULE module, WCHAR (&ini)[MAX_PATH], WCHAR (&folder)[MAX_PATH]) {
    WCHAR own[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const DWORD longLength = GetLongPathNameW(own, ini, MAX_PATH);
    if (longLength == 0 || longLength >= MAX_PATH)
        return false;
    lstrcpyW(folder, ini);
    PathRemoveFileSpecW(folder);
    return PathRenameExtensionW(ini, L".ini") != FALSE;
}

void ReadFilePath(const WCHAR* ini, const WCHAR* folder, WCHAR (&file)[MAX_PATH]) {
    WCHAR value[MAX_PATH];
    file[0] = 0;
    const DWORD length = GetPrivateProfileStringW(Section, L"File", L"", value, MAX_PATH, ini);
    if (length == 0 || length >= MAX_PATH - 1)
        return;  // missing, or possibly cut
    if (!PathIsRelativeW(value))
        lstrcpyW(file, value);
    else if (!PathCombineW(file, folder, value))
        file[0] = 0;
}

}  // namespace

void ReadTsFileSettings(HMODULE module, TsFileSettings& settings) {
    WCHAR ini[MAX_PATH];
    WCHAR folder[MAX_PATH];
    if (!FormPaths(module, ini, folder))
        return;
    ReadFilePath(ini, folder, settings.File);
    WCHAR pace[16];
    GetPrivateProfileStringW(Section, L"Pace", L"", pace, 16, ini);
    settings.Fast = lstrcmpiW(pace, L"Fast") == 0;
    settings.Loop = GetPrivateProfileIntW(Section, L"Loop", settings.Loop, ini) != 0;
    ReadNumber(ini, L"ChunkBytes", TsFileSettings::MinChunkBytes, TsFileSettings::MaxChunkBytes,
               settings.ChunkBytes);
    ReadNumber(ini, L"BytesPerSecond", TsFileSettings::MinBytesPerSecond,
               TsFileSettings::MaxBytesPerSecond, settings.BytesPerSecond);
}
