#include "privilege_win32.h"

bool Win32PrivilegePlatform::OpenToken(HANDLE& token)
{
    return OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token) !=
           FALSE;
}

bool Win32PrivilegePlatform::LookupSystemTimePrivilege(uint64_t& privilege)
{
    LUID luid;
    if (!LookupPrivilegeValueW(NULL, SE_SYSTEMTIME_NAME, &luid)) return false;
    privilege = static_cast<uint64_t>(static_cast<uint32_t>(luid.HighPart)) << 32 | luid.LowPart;
    return true;
}

bool Win32PrivilegePlatform::EnablePrivilege(HANDLE token, uint64_t privilege)
{
    TOKEN_PRIVILEGES enable{};
    enable.PrivilegeCount = 1;
    enable.Privileges[0].Luid.LowPart = static_cast<DWORD>(privilege);
    enable.Privileges[0].Luid.HighPart = static_cast<LONG>(privilege >> 32);
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // The call succeeds for a privilege the token does not hold; only the last error tells.
    if (!AdjustTokenPrivileges(token, FALSE, &enable, 0, NULL, NULL)) return false;
    return GetLastError() == ERROR_SUCCESS;
}

void Win32PrivilegePlatform::CloseToken(HANDLE token)
{
    CloseHandle(token);
}
