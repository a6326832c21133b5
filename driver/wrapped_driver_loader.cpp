#include "wrapped_driver_loader.h"

#include "own_module.h"

namespace {

const DWORD MaxOwnPathLength = PathBufferLength - 2;
const DWORD MaxLongPathLength = PathBufferLength - 1;

}  // namespace

HMODULE LoadWrappedDriver(WCHAR (&name)[SourceNameLimit + 1]) {
    WCHAR ownPath[PathBufferLength];
    const DWORD ownLength = GetModuleFileNameW(OwnModule, ownPath, PathBufferLength);
    if (ownLength < 1 || ownLength > MaxOwnPathLength)
        return nullptr;
    // The long form: a library loaded under its short (8.3) name still finds its driver and
    // announces its long name.
    WCHAR longPath[PathBufferLength];
    const DWORD longLength = GetLongPathNameW(ownPath, longPath, PathBufferLength);
    if (longLength < 1 || longLength > MaxLongPathLength)
        return nullptr;
    WCHAR wrappedPath[PathBufferLength];
    if (!WithStemEnding(longPath, WrappedDriverSuffix, wrappedPath, PathBufferLength))
        return nullptr;
    SourceNameOf(longPath, name);
    return LoadLibraryW(wrappedPath);
}
