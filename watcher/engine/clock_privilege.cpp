#include "clock_privilege.h"

const WCHAR NoPrivilegeWarning[] = L"システムの時刻を変更する権限がありません。";

void AcquireClockPrivilege(PrivilegePlatform& platform, bool& setTime)
{
    if (!setTime) return;
    setTime = false;
    HANDLE token = nullptr;
    if (platform.OpenToken(token)) {
        uint64_t privilege = 0;
        if (platform.LookupSystemTimePrivilege(privilege))
            setTime = platform.EnablePrivilege(token, privilege);
        platform.CloseToken(token);
    }
    if (!setTime) platform.WarnNoPrivilege();
}
