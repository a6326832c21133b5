#include "wrapper_folder.h"

namespace {

const WCHAR WrapperFile[] = L"BonDriver_Quellap.dll";

void Join(WCHAR (&path)[TestPathLength], const WCHAR* folder, const WCHAR* name,
          const WCHAR* suffix = L"") {
    wsprintfW(path, L"%s\\%s%s", folder, name, suffix);
}

}  // namespace

void ProgramFilePath(const WCHAR* file, WCHAR (&path)[TestPathLength]) {
    WCHAR program[TestPathLength];
    GetModuleFileNameW(nullptr, program, TestPathLength);
    WCHAR* slash = program;
    for (WCHAR* c = program; *c; ++c)
        if (*c == L'\\' || *c == L'/')
            slash = c;
    *slash = 0;
    Join(path, program, file);
}

WrapperFolder::WrapperFolder(const WCHAR* scenario) : FolderCount(0) {
    WCHAR temp[TestPathLength];
    WCHAR longTemp[TestPathLength];
    GetTempPathW(TestPathLength, temp);
    if (!GetLongPathNameW(temp, longTemp, TestPathLength))
        lstrcpyW(longTemp, temp);
    const int length = lstrlenW(longTemp);
    if (length && longTemp[length - 1] == L'\\')
        longTemp[length - 1] = 0;
    wsprintfW(Current, L"%s\\quellap-%s-%lu", longTemp, scenario, GetCurrentProcessId());
    CreateDirectoryW(Current, nullptr);
    lstrcpyW(Folders[FolderCount++], Current);
    Wrapper[0] = 0;
    Driver[0] = 0;
}

WrapperFolder::~WrapperFolder() {
    RemovePlacedFiles();
    while (FolderCount > 0)
        RemoveDirectoryW(Folders[--FolderCount]);
}

bool WrapperFolder::Enter(const WCHAR* subfolder) {
    if (FolderCount == MaxFolders)
        return false;
    WCHAR path[TestPathLength];
    Join(path, Current, subfolder);
    if (!CreateDirectoryW(path, nullptr))
        return false;
    lstrcpyW(Current, path);
    lstrcpyW(Folders[FolderCount++], Current);
    return true;
}

bool WrapperFolder::Place(const WCHAR* stem, const WCHAR* driverFile) {
    RemovePlacedFiles();
    WCHAR source[TestPathLength];
    ProgramFilePath(WrapperFile, source);
    Join(Wrapper, Current, stem, L".dll");
    if (!CopyFileW(source, Wrapper, FALSE))
        return false;
    Join(Driver, Current, stem, L"_Quellapped.dl_");
    if (!driverFile)
        return true;
    ProgramFilePath(driverFile, source);
    return CopyFileW(source, Driver, FALSE) != FALSE;
}

void WrapperFolder::RemovePlacedFiles() {
    if (Wrapper[0])
        DeleteFileW(Wrapper);
    if (Driver[0])
        DeleteFileW(Driver);
}
