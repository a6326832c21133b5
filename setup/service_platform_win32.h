// The service verbs' calls on Windows: the service control manager, the event log, and what
// the machine tells about files, users and its clock.
#pragma once

#include <windows.h>

#include "service_platform.h"

class Win32ServicePlatform : public ServicePlatform {
public:
    Win32ServicePlatform() = default;
    Win32ServicePlatform(const Win32ServicePlatform&) = delete;
    Win32ServicePlatform& operator=(const Win32ServicePlatform&) = delete;
    ~Win32ServicePlatform();

    uint32_t FinalPath(const std::wstring& path, std::wstring& final) override;
    uint32_t ReadSecurity(const std::wstring& path, FileSecurity& security) override;
    std::wstring AccountName(const std::wstring& sid) override;
    std::wstring InstallerSid() override;
    std::vector<std::wstring> ProfileFolders() override;
    bool WindowsIs64Bit() override;
    std::wstring ProgramFilesFolder() override;
    bool WindowsTimeAdjustsClock() override;

    uint32_t Connect(bool forChanges) override;
    uint32_t Query(RegisteredService& facts) override;
    uint32_t Create(const std::wstring& commandLine) override;
    uint32_t Describe(const std::wstring& description) override;
    uint32_t RestartAfterFailure() override;
    uint32_t Start() override;
    uint32_t Stop() override;
    uint32_t Delete() override;

    uint32_t ReadEventSource(std::wstring& messageFile) override;
    uint32_t WriteEventSource(const std::wstring& messageFile) override;
    uint32_t RemoveEventSource() override;
    std::vector<ServiceEvent> LastEvents(size_t count) override;

private:
    uint32_t OpenWatcherService();
    uint32_t Settle(SERVICE_STATUS_PROCESS& status);

    SC_HANDLE Manager = nullptr;
    SC_HANDLE Service = nullptr;
    bool ForChanges = false;
};
