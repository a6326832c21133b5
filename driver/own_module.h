// The wrapper library's own module handle, stored at process attach: it finds the library's
// path and owns the announcement window class.
#pragma once

#include <windows.h>

extern HMODULE OwnModule;
