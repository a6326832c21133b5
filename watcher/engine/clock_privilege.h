// Enabling the right to change the system time, which clock setting needs. The program asks
// for no elevation, so this only enables a privilege the user's token already holds.
#pragma once

#include <stdint.h>

#include "win32_types.h"

// The token calls the step makes; on Windows OpenProcessToken, LookupPrivilegeValueW,
// AdjustTokenPrivileges with GetLastError, CloseHandle and the warning box.
class PrivilegePlatform {
public:
    // This process's token, opened to adjust and query its privileges.
    virtual bool OpenToken(HANDLE& token) = 0;
    // The local identifier of the system-time privilege, as 64 bits.
    virtual bool LookupSystemTimePrivilege(uint64_t& privilege) = 0;
    // Enables the privilege; true only when it is now enabled (a privilege the token does not
    // hold is reported as a failure even though the call itself succeeds).
    virtual bool EnablePrivilege(HANDLE token, uint64_t privilege) = 0;
    virtual void CloseToken(HANDLE token) = 0;
    // Tells the user that the clock will only be watched.
    virtual void WarnNoPrivilege() = 0;

protected:
    ~PrivilegePlatform() = default;
};

extern const WCHAR NoPrivilegeWarning[];  // the text of the warning box

// Only when `setTime` is true: enables the privilege, and leaves `setTime` true only when that
// worked; otherwise warns once.
void AcquireClockPrivilege(PrivilegePlatform& platform, bool& setTime);
