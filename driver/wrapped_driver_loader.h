// Finds and loads the wrapped driver: the file beside this library named after its long file
// name without extension, followed by "_Quellapped.dl_".
#pragma once

#include <windows.h>

#include "wrapper_files.h"

enum : int { PathBufferLength = MAX_PATH };  // characters, NUL included

// The loaded module, or null when the library's path breaks a length rule or the file does not
// load. `name` receives the source name: the library's long file name without extension.
HMODULE LoadWrappedDriver(WCHAR (&name)[SourceNameLimit + 1]);
