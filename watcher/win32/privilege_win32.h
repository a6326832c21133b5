// The system-time privilege's token calls on Windows. How the missing privilege is reported
// is the host's: the dialog shows a box, a program without a desktop writes it down.
#pragma once

#include "clock_privilege.h"

class Win32PrivilegePlatform : public PrivilegePlatform {
public:
    bool OpenToken(HANDLE& token) override;
    bool LookupSystemTimePrivilege(uint64_t& privilege) override;
    bool EnablePrivilege(HANDLE token, uint64_t privilege) override;
    void CloseToken(HANDLE token) override;

protected:
    ~Win32PrivilegePlatform() = default;
};
