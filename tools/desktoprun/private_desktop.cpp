#include "private_desktop.h"

PrivateDesktop::~PrivateDesktop()
{
    if (Desktop != NULL) CloseDesktop(Desktop);
    if (Station != NULL) CloseWindowStation(Station);
}

// CreateDesktopW makes the desktop on the process's own window station: the process visits the
// new one meanwhile.
bool PrivateDesktop::Create(const std::wstring& station, const std::wstring& desktop)
{
    Station = CreateWindowStationW(station.c_str(), 0, WINSTA_ALL_ACCESS, NULL);
    if (Station == NULL) return false;
    const HWINSTA home = GetProcessWindowStation();
    if (!SetProcessWindowStation(Station)) return false;
    Desktop = CreateDesktopW(desktop.c_str(), NULL, NULL, 0, GENERIC_ALL, NULL);
    SetProcessWindowStation(home);
    Name = station + L"\\" + desktop;
    return Desktop != NULL;
}
