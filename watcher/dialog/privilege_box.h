// The dialog's report of a missing system-time privilege: a warning box before the window.
#pragma once

#include "privilege_win32.h"

class BoxPrivilegePlatform : public Win32PrivilegePlatform {
public:
    void WarnNoPrivilege() override;
};
