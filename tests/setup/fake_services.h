// An in-memory machine for the service verbs: each path's security descriptor (by default one
// that only administrators can change), the profiles, and one service with its event source.
// Any changing call, named in `failing`, fails; `elevated` false denies changes to the manager.
#pragma once

#include <map>
#include <set>
#include <string>

#include "service_platform.h"

const std::wstring InstallingAdminSid = L"S-1-5-21-1-2-3-1001";
const std::wstring UsersSid = L"S-1-5-32-545";

// SYSTEM, Administrators, TrustedInstaller and the installer with full control, Users reading,
// and CREATOR OWNER's full control passed on only: a folder in Program Files.
inline FileSecurity AdminOnly()
{
    return {L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
            false,
            {{L"S-1-5-18", 0x1F01FF, false},
             {L"S-1-5-32-544", 0x1F01FF, false},
             {L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", 0x1F01FF, false},
             {InstallingAdminSid, RightGenericAll, false},
             {UsersSid, 0x1200A9, false},
             {L"S-1-3-0", RightGenericAll, true}}};
}

struct ServiceMachine {
    bool registered = false, running = false;
    std::wstring commandLine, description, eventSource;  // eventSource empty: none

    bool operator==(const ServiceMachine& o) const
    {
        return registered == o.registered && running == o.running &&
               commandLine == o.commandLine && description == o.description &&
               eventSource == o.eventSource;
    }
};

class FakeServices : public ServicePlatform {
public:
    ServiceMachine now;
    std::map<std::wstring, FileSecurity> security;  // paths not here: AdminOnly()
    std::set<std::wstring> unreadable;              // their security cannot be read
    std::vector<std::wstring> profiles = {L"C:\\Users"};
    std::set<std::string> failing;
    bool elevated = true, timeSyncs = false;

    uint32_t FinalPath(const std::wstring& path, std::wstring& final) override
    {
        final = path;
        return 0;
    }
    uint32_t ReadSecurity(const std::wstring& path, FileSecurity& read) override
    {
        read = security.count(path) ? security[path] : AdminOnly();
        return unreadable.count(path) ? 1117 : 0;
    }
    std::wstring AccountName(const std::wstring& sid) override { return L"<" + sid + L">"; }
    std::wstring InstallerSid() override { return InstallingAdminSid; }
    std::vector<std::wstring> ProfileFolders() override { return profiles; }
    bool WindowsIs64Bit() override { return true; }
    std::wstring ProgramFilesFolder() override { return L"C:\\Program Files"; }
    bool WindowsTimeAdjustsClock() override { return timeSyncs; }

    uint32_t Connect(bool forChanges) override { return forChanges && !elevated ? 5 : 0; }
    uint32_t Query(RegisteredService& facts) override
    {
        facts = {now.commandLine, StartType::Automatic,
                 now.running ? ServiceState::Running : ServiceState::Stopped, 0};
        return now.registered ? 0 : ErrorServiceDoesNotExist;
    }
    uint32_t Create(const std::wstring& line) override
    {
        return Change("Create", [&] { now.registered = true, now.commandLine = line; });
    }
    uint32_t Describe(const std::wstring& text) override
    {
        return Change("Describe", [&] { now.description = text; });
    }
    uint32_t RestartAfterFailure() override { return Change("RestartAfterFailure", [] {}); }
    uint32_t Start() override { return Change("Start", [&] { now.running = true; }); }
    uint32_t Stop() override { return Change("Stop", [&] { now.running = false; }); }
    uint32_t Delete() override
    {
        return Change("Delete", [&] { now = {false, false, {}, {}, now.eventSource}; });
    }
    uint32_t ReadEventSource(std::wstring& file) override
    {
        file = now.eventSource;
        return file.empty() ? 2 : 0;
    }
    uint32_t WriteEventSource(const std::wstring& file) override
    {
        return Change("WriteEventSource", [&] { now.eventSource = file; });
    }
    uint32_t RemoveEventSource() override
    {
        return Change("RemoveEventSource", [&] { now.eventSource.clear(); });
    }
    std::vector<ServiceEvent> LastEvents(size_t) override { return {}; }

private:
    template <typename Action>
    uint32_t Change(const char* call, Action action)
    {
        if (failing.count(call)) return 1117;  // an I/O error
        action();
        return 0;
    }
};
