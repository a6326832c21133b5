#include "privilege_box.h"

#include "window_titles.h"

void BoxPrivilegePlatform::WarnNoPrivilege()
{
    MessageBoxW(NULL, NoPrivilegeWarning, MainTitle, MB_OK | MB_ICONWARNING);
}
