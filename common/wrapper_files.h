// The files by which the wrapper and QuellapSetup meet: the wrapper finds its real driver and
// names its source by these rules, and QuellapSetup installs by the same ones; and the watcher
// as the package holds it and QuellapSetup registers it as a service. Constants and
// functions over NUL-terminated wchar_t buffers, so that the wrapper, which has no C++ standard
// library, builds them too. The two macros also serve the resource scripts.
#pragma once

// The identity in every version resource of ours; it tells our wrapper from any other driver.
#define QUELLAP_PRODUCT_NAME "Quellap"
#define QUELLAP_WRAPPER_FILE_NAME "BonDriver_Quellap.dll"

#ifndef RC_INVOKED
#include <stddef.h>

inline constexpr wchar_t ProductName[] = L"" QUELLAP_PRODUCT_NAME;
inline constexpr wchar_t WrapperFileName[] = L"" QUELLAP_WRAPPER_FILE_NAME;

// BonDriver_X.dll is the wrapper; the real driver lies beside it as BonDriver_X_Quellapped.dl_,
// and its settings BonDriver_X.ini are copied for it as BonDriver_X_Quellapped.ini, since a
// driver finds its settings by its own name.
inline constexpr wchar_t WrappedDriverSuffix[] = L"_Quellapped.dl_";
inline constexpr wchar_t SettingsExtension[] = L".ini";
inline constexpr wchar_t CopiedSettingsSuffix[] = L"_Quellapped.ini";

// Characters of the wrapper's long path without extension: that stem, the 15-character suffix
// and a NUL fill a MAX_PATH buffer. A longer one finds no driver.
constexpr size_t WrapperStemLimit = 244;
// Characters of the source name: the wrapper's file name without extension, cut to this.
constexpr size_t SourceNameLimit = 63;

// The release package keeps each machine's build in a folder named after the machine.
inline constexpr wchar_t PackageFolderX86[] = L"x86";
inline constexpr wchar_t PackageFolderX64[] = L"x64";

// The watcher lies in each machine's folder; run with the argument, it is the service of that
// name, which is also its event source in the Application log.
inline constexpr wchar_t WatcherFileName[] = L"Horavant.exe";
inline constexpr wchar_t WatcherServiceName[] = L"Horavant";
inline constexpr wchar_t WatcherServiceArgument[] = L"--service";

// Where the file name of `path` starts: after its last backslash or slash.
size_t FileNameStart(const wchar_t* path);

// Length of `path` without its extension, cut as PathRemoveExtensionW cuts it: at the last dot
// of the file name that no blank follows; the whole length when there is none.
size_t StemLength(const wchar_t* path);

// `path`'s stem followed by `ending` (one of the suffixes above), into `out` of `capacity`
// units. False, `out` empty, when the stem is longer than WrapperStemLimit or it does not fit.
bool WithStemEnding(const wchar_t* path, const wchar_t* ending, wchar_t* out, size_t capacity);

// The source name of the wrapper at `path`.
void SourceNameOf(const wchar_t* path, wchar_t (&name)[SourceNameLimit + 1]);
#endif
