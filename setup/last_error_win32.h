// The thread's last error as the setup's Win32 calls return it: never 0 after a failure, even
// where Windows (or Wine) left none.
#pragma once

#include <windows.h>

#include <stdint.h>

inline uint32_t LastErrorCode()
{
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}
