#include "wrapped_driver_loader.h"

#include "own_module.h"

#include <shlwapi.h>

namespace {

const WCHAR WrappedSuffix[] = L"_Quellapped.dl_";
const DWORD MaxOwnPathLength = PathBufferLength - 2;
const DWORD MaxLongPathLength = PathBufferLength - 1;
// The stem, the 15-character suffix and the NUL fill the buffer exactly.
const int MaxStemLength = PathBufferLength - (int(sizeof WrappedSuffix / sizeof(WCHAR)) - 1) - 1;

}  // namespace

HMODULE LoadWrappedDriver(WCHAR (&name)[PathBufferLength]) {
    WCHAR ownPath[PathBufferLength];
    const DWORD ownLength = GetModuleFileNameW(OwnModule, ownPath, PathBufferLength);
    if (ownLength < 1 || ownLength > MaxOwnPathLength)
        return nullptr;
    // The long form: a library loaded under its short (8.3) name still finds its driver and
    // announces its long name.
    WCHAR stem[PathBufferLength];
    const DWORD longLength = GetLongPathNameW(ownPath, stem, PathBufferLength);
    if (longLength < 1 || longLength > MaxLongPathLength)
        return nullptr;
    PathRemoveExtensionW(stem);
    if (lstrlenW(stem) > MaxStemLength)
        return nullptr;
    lstrcpynW(name, PathFindFileNameW(stem), PathBufferLength);
    lstrcatW(stem, WrappedSuffix);
    return LoadLibraryW(stem);
}
