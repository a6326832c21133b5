// The system-time privilege on Windows.
#pragma once

#include "clock_privilege.h"

class Win32PrivilegePlatform : public PrivilegePlatform {
public:
    bool OpenToken(HANDLE& token) override;
    bool LookupSystemTimePrivilege(uint64_t& privilege) override;
    bool EnablePrivilege(HANDLE token, uint64_t privilege) override;
    void CloseToken(HANDLE token) override;
    void WarnNoPrivilege() override;
};

// On the program-wide settings (see watcher_state.h).
void AcquireClockPrivilege();
