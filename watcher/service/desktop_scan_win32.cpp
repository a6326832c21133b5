#include "desktop_scan_win32.h"

#include <mutex>
#include <string>

#include "scan_win32.h"

namespace {

constexpr ACCESS_MASK StationAccess = WINSTA_ENUMDESKTOPS | WINSTA_ENUMERATE | WINSTA_READATTRIBUTES;
constexpr ACCESS_MASK DesktopReadAccess = DESKTOP_READOBJECTS | DESKTOP_ENUMERATE;
constexpr ACCESS_MASK DesktopAccess = DesktopReadAccess | DESKTOP_WRITEOBJECTS;

typedef std::vector<std::wstring> Names;

// The process's window station is process-wide: whoever moves the process holds this.
std::mutex StationSwitch;

BOOL CALLBACK AddName(LPWSTR name, LPARAM names)
{
    reinterpret_cast<Names*>(names)->push_back(name);
    return TRUE;
}

// Where the calling thread belongs; it comes back here after each desktop.
struct Home {
    HWINSTA station;
    HDESK desktop;
};

// OpenDesktopW and SetThreadDesktop reach only the desktops of the process's own window
// station: the process visits `station` meanwhile. Write access lets the text requests through
// where a desktop grants it; read and enumerate are enough elsewhere.
HDESK Attach(HWINSTA station, const std::wstring& name, const Home& home)
{
    std::lock_guard<std::mutex> hold(StationSwitch);
    if (!SetProcessWindowStation(station)) return NULL;
    HDESK desktop = OpenDesktopW(name.c_str(), 0, FALSE, DesktopAccess);
    if (desktop == NULL) desktop = OpenDesktopW(name.c_str(), 0, FALSE, DesktopReadAccess);
    if (desktop != NULL && !SetThreadDesktop(desktop)) {
        CloseDesktop(desktop);
        desktop = NULL;
    }
    SetProcessWindowStation(home.station);
    return desktop;
}

// A desktop in use by a thread cannot be closed: the thread goes home first.
void Detach(HDESK desktop, const Home& home)
{
    std::lock_guard<std::mutex> hold(StationSwitch);
    SetThreadDesktop(home.desktop);
    CloseDesktop(desktop);
}

bool Stopping(HANDLE stop)
{
    return stop != NULL && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

bool GatherStation(std::vector<AnnouncerSnapshot>& windows, HWINSTA station, const Home& home,
                   HANDLE stop)
{
    Names desktops;
    EnumDesktopsW(station, AddName, reinterpret_cast<LPARAM>(&desktops));
    for (const std::wstring& name : desktops) {
        const HDESK desktop = Attach(station, name, home);
        if (desktop == NULL) continue;
        const bool goOn = GatherThisDesktop(windows, stop);
        Detach(desktop, home);
        if (!goOn) return false;
    }
    return true;
}

// The names of the window stations to visit.
Names StationsIn(StationScope scope)
{
    Names stations;
    if (scope == StationScope::Every) {
        EnumWindowStationsW(AddName, reinterpret_cast<LPARAM>(&stations));
        return stations;
    }
    WCHAR name[MAX_PATH];
    if (GetUserObjectInformationW(GetProcessWindowStation(), UOI_NAME, name, sizeof name, NULL)) {
        stations.push_back(name);
    }
    return stations;
}

}  // namespace

bool GatherThisDesktop(std::vector<AnnouncerSnapshot>& windows, HANDLE stop)
{
    Win32ScanPlatform here;
    for (SourceKey key = here.NextAnnouncer(BroadcastKey); key != BroadcastKey;
         key = here.NextAnnouncer(key)) {
        if (Stopping(stop)) return false;
        AnnouncerSnapshot found;
        found.key = key;
        found.length = 0;
        found.answered = here.ReadText(key, found.text, found.length);
        found.readTick = GetTickCount();
        found.processId = 0;
        GetWindowThreadProcessId(WindowOf(key), &found.processId);
        windows.push_back(found);
    }
    return true;
}

bool GatherAllDesktops(std::vector<AnnouncerSnapshot>& windows, StationScope scope, HANDLE stop)
{
    windows.clear();
    const Home home = {GetProcessWindowStation(), GetThreadDesktop(GetCurrentThreadId())};
    const Names stations = StationsIn(scope);
    for (const std::wstring& name : stations) {
        if (Stopping(stop)) return false;
        const HWINSTA station = OpenWindowStationW(name.c_str(), FALSE, StationAccess);
        if (station == NULL) continue;
        const bool goOn = GatherStation(windows, station, home, stop);
        CloseWindowStation(station);
        if (!goOn) return false;
    }
    return true;
}
