// A window station and a desktop of their own, as a recording service makes them for the tuner
// process it starts: message-only windows there are out of reach of every other desktop.
#pragma once

#include <windows.h>

#include <string>

class PrivateDesktop {
public:
    PrivateDesktop() = default;
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;
    ~PrivateDesktop();

    // Creates (or opens) the window station `station` and the desktop `desktop` on it; they
    // last as long as this object or a process started there.
    bool Create(const std::wstring& station, const std::wstring& desktop);
    // "station\desktop", as STARTUPINFO.lpDesktop names it.
    const std::wstring& Path() const { return Name; }

private:
    HWINSTA Station = NULL;
    HDESK Desktop = NULL;
    std::wstring Name;
};
