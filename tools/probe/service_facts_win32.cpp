#include <windows.h>

#include <vector>

#include "probe_facts_win32.h"

namespace {

const wchar_t* ReadInstalledService(SC_HANDLE service, ServiceFacts& facts)
{
    facts.installed = true;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service, &status)) return L"QueryServiceStatus";
    facts.state = status.dwCurrentState;
    DWORD size = 0;
    QueryServiceConfigW(service, NULL, 0, &size);
    std::vector<BYTE> data(size > sizeof(QUERY_SERVICE_CONFIGW) ? size
                                                                : sizeof(QUERY_SERVICE_CONFIGW));
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(data.data());
    if (!QueryServiceConfigW(service, config, static_cast<DWORD>(data.size()), &size)) {
        return L"QueryServiceConfigW";
    }
    facts.startType = config->dwStartType;
    if (config->lpBinaryPathName != NULL) facts.binaryPath = config->lpBinaryPathName;
    return nullptr;
}

}  // namespace

void ReadServiceFacts(const wchar_t* name, ServiceFacts& facts)
{
    const SC_HANDLE manager = OpenSCManagerW(NULL, NULL, SC_MANAGER_CONNECT);
    if (manager == NULL) {
        facts.failure = {L"OpenSCManagerW", GetLastError()};
        return;
    }
    const SC_HANDLE service =
        OpenServiceW(manager, name, SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
    if (service == NULL) {
        const DWORD error = GetLastError();
        if (error != ERROR_SERVICE_DOES_NOT_EXIST) facts.failure = {L"OpenServiceW", error};
    } else {
        if (const wchar_t* failed = ReadInstalledService(service, facts)) {
            facts.failure = {failed, GetLastError()};
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

void ReadTimeServiceFacts(TimeServiceFacts& facts)
{
    ReadServiceFacts(L"W32Time", facts.service);
    WCHAR type[64];
    DWORD size = sizeof type;
    const LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE,
                                        L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
                                        L"Type", RRF_RT_REG_SZ, NULL, type, &size);
    // Not set (no key or no value) is no failure: the service then has no Type to follow.
    if (status == ERROR_SUCCESS) {
        facts.type = type;
    } else if (status != ERROR_FILE_NOT_FOUND) {
        facts.typeFailure = {L"RegGetValueW", static_cast<uint32_t>(status)};
    }
}
