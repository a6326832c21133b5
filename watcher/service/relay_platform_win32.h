// The relays on Windows: the signed-in sessions, Horavant.exe --relay started in each with its
// user's token, the anonymous pipe that only the relay inherits, and the owners of the windows
// it reports, checked by the service itself.
#pragma once

#include <windows.h>

#include "relay_supervisor.h"

class Win32RelayPlatform : public RelayPlatform {
public:
    std::vector<DWORD> SignedInSessions() override;
    std::unique_ptr<RelayProcess> Start(DWORD session, DWORD& error) override;
    OwnerCheck FindOwner(DWORD processId, DWORD session, std::wstring& path) override;
};
