#include "service_platform_win32.h"

#include "event_source_win32.h"
#include "file_security_win32.h"
#include "last_error_win32.h"
#include "registry_text_win32.h"
#include "setup_names.h"
#include "user_profiles_win32.h"
#include "wrapper_files.h"

namespace {

// Beyond the half minute Windows itself gives a service to start.
constexpr DWORD SettlePatienceMsec = 60000;
constexpr DWORD SettlePollMsec = 100;
constexpr DWORD RestartDelayMsec = 60000;
constexpr DWORD FailureCountResetSeconds = 86400;

const wchar_t DisplayName[] = L"Horavant (Quellap)";

bool Pending(DWORD state)
{
    return state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ||
           state == SERVICE_CONTINUE_PENDING || state == SERVICE_PAUSE_PENDING;
}

uint32_t ExitError(const SERVICE_STATUS_PROCESS& status)
{
    return status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR
               ? status.dwServiceSpecificExitCode
               : status.dwWin32ExitCode;
}

ServiceState ServiceStateOf(DWORD state)
{
    switch (state) {
    case SERVICE_STOPPED: return ServiceState::Stopped;
    case SERVICE_START_PENDING: return ServiceState::Starting;
    case SERVICE_STOP_PENDING: return ServiceState::Stopping;
    case SERVICE_RUNNING: return ServiceState::Running;
    default: return ServiceState::Other;
    }
}

StartType StartTypeOf(SC_HANDLE service, DWORD start)
{
    if (start == SERVICE_DEMAND_START) return StartType::Manual;
    if (start == SERVICE_DISABLED) return StartType::Disabled;
    if (start != SERVICE_AUTO_START) return StartType::Other;
    SERVICE_DELAYED_AUTO_START_INFO delayed = {};
    DWORD needed = 0;
    const bool read = QueryServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO,
                                           reinterpret_cast<BYTE*>(&delayed), sizeof delayed,
                                           &needed);
    return read && delayed.fDelayedAutostart ? StartType::DelayedAutomatic : StartType::Automatic;
}

uint32_t ReadConfig(SC_HANDLE service, std::wstring& commandLine, DWORD& start)
{
    DWORD needed = 0;
    QueryServiceConfigW(service, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed > 0 ? needed : sizeof(QUERY_SERVICE_CONFIGW));
    QUERY_SERVICE_CONFIGW* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(service, config, DWORD(buffer.size()), &needed)) {
        return LastErrorCode();
    }
    commandLine = config->lpBinaryPathName ? config->lpBinaryPathName : L"";
    start = config->dwStartType;
    return 0;
}

}  // namespace

Win32ServicePlatform::~Win32ServicePlatform()
{
    if (Service != nullptr) CloseServiceHandle(Service);
    if (Manager != nullptr) CloseServiceHandle(Manager);
}

uint32_t Win32ServicePlatform::FinalPath(const std::wstring& path, std::wstring& final)
{
    return ReadFinalPath(path, final);
}

uint32_t Win32ServicePlatform::ReadSecurity(const std::wstring& path, FileSecurity& security)
{
    return ReadFileSecurity(path, security);
}

std::wstring Win32ServicePlatform::AccountName(const std::wstring& sid)
{
    return AccountNameOf(sid);
}

std::wstring Win32ServicePlatform::InstallerSid()
{
    return ProcessUserSid();
}

std::vector<std::wstring> Win32ServicePlatform::ProfileFolders()
{
    return UserProfileFolders();
}

// Only an x64 Windows runs the x64 build itself; every other one (ARM64 included) runs x86.
bool Win32ServicePlatform::WindowsIs64Bit()
{
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

// A 32-bit program on 64-bit Windows sees %ProgramFiles% as the x86 folder.
std::wstring Win32ServicePlatform::ProgramFilesFolder()
{
    for (const wchar_t* name : {L"ProgramW6432", L"ProgramFiles"}) {
        wchar_t folder[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(name, folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) return folder;
    }
    return L"C:\\Program Files";
}

// Unless it is disabled or set to NoSync, the Windows Time service adjusts the clock (its
// default, without a Type, synchronises).
bool Win32ServicePlatform::WindowsTimeAdjustsClock()
{
    const wchar_t parameters[] = L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE time =
        manager ? OpenServiceW(manager, L"W32Time", SERVICE_QUERY_CONFIG) : nullptr;
    std::wstring commandLine, type;
    DWORD start = SERVICE_DISABLED;
    const bool enabled = time && !ReadConfig(time, commandLine, start) &&
                         start != SERVICE_DISABLED;
    if (time) CloseServiceHandle(time);
    if (manager) CloseServiceHandle(manager);
    return enabled && (ReadRegistryText(HKEY_LOCAL_MACHINE, parameters, L"Type", type) != 0 ||
                       !EqualNoCase(type, L"NoSync"));
}

uint32_t Win32ServicePlatform::Connect(bool forChanges)
{
    ForChanges = forChanges;
    // Creating services is what Windows keeps from an administrator who is not elevated.
    const DWORD access = SC_MANAGER_CONNECT | (forChanges ? SC_MANAGER_CREATE_SERVICE : 0);
    Manager = OpenSCManagerW(nullptr, nullptr, access);
    return Manager ? 0 : LastErrorCode();
}

uint32_t Win32ServicePlatform::OpenWatcherService()
{
    if (Service != nullptr) return 0;
    const DWORD access =
        ForChanges ? SERVICE_ALL_ACCESS : SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS;
    Service = OpenServiceW(Manager, WatcherServiceName, access);
    return Service ? 0 : LastErrorCode();
}

uint32_t Win32ServicePlatform::Query(RegisteredService& facts)
{
    facts = RegisteredService{};
    DWORD start = 0, needed = 0;
    SERVICE_STATUS_PROCESS status = {};
    if (const uint32_t error = OpenWatcherService()) return error;
    if (const uint32_t error = ReadConfig(Service, facts.commandLine, start)) return error;
    if (!QueryServiceStatusEx(Service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                              sizeof status, &needed)) {
        return LastErrorCode();
    }
    facts.start = StartTypeOf(Service, start);
    facts.state = ServiceStateOf(status.dwCurrentState);
    facts.exitCode = ExitError(status);
    return 0;
}

uint32_t Win32ServicePlatform::Create(const std::wstring& commandLine)
{
    // No account: LocalSystem, which holds the right to change the system time.
    Service = CreateServiceW(Manager, WatcherServiceName, DisplayName, SERVICE_ALL_ACCESS,
                             SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                             commandLine.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    return Service ? 0 : LastErrorCode();
}

uint32_t Win32ServicePlatform::Describe(const std::wstring& description)
{
    SERVICE_DESCRIPTIONW text = {const_cast<wchar_t*>(description.c_str())};
    return ChangeServiceConfig2W(Service, SERVICE_CONFIG_DESCRIPTION, &text) ? 0 : LastErrorCode();
}

uint32_t Win32ServicePlatform::RestartAfterFailure()
{
    SC_ACTION restart[3] = {{SC_ACTION_RESTART, RestartDelayMsec},
                            {SC_ACTION_RESTART, RestartDelayMsec},
                            {SC_ACTION_RESTART, RestartDelayMsec}};
    SERVICE_FAILURE_ACTIONSW actions = {FailureCountResetSeconds, nullptr, nullptr, 3, restart};
    if (!ChangeServiceConfig2W(Service, SERVICE_CONFIG_FAILURE_ACTIONS, &actions)) {
        return LastErrorCode();
    }
    // Also after a stop with an error of its own (a fatal start error), not only after a crash.
    SERVICE_FAILURE_ACTIONS_FLAG flag = {TRUE};
    return ChangeServiceConfig2W(Service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG, &flag)
               ? 0
               : LastErrorCode();
}

// Polls until the service is in no pending state, or the patience is over.
uint32_t Win32ServicePlatform::Settle(SERVICE_STATUS_PROCESS& status)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD needed = 0;
        if (!QueryServiceStatusEx(Service, SC_STATUS_PROCESS_INFO,
                                  reinterpret_cast<BYTE*>(&status), sizeof status, &needed)) {
            return LastErrorCode();
        }
        if (!Pending(status.dwCurrentState)) return 0;
        if (GetTickCount() - start >= SettlePatienceMsec) return ERROR_SERVICE_REQUEST_TIMEOUT;
        Sleep(SettlePollMsec);
    }
}

uint32_t Win32ServicePlatform::Start()
{
    SERVICE_STATUS_PROCESS status = {};
    if (!StartServiceW(Service, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
        return LastErrorCode();
    }
    if (const uint32_t error = Settle(status)) return error;
    if (status.dwCurrentState != SERVICE_STOPPED) return 0;
    const uint32_t exit = ExitError(status);
    return exit != 0 ? exit : ERROR_SERVICE_NOT_ACTIVE;  // it ended at once without a word
}

uint32_t Win32ServicePlatform::Stop()
{
    SERVICE_STATUS_PROCESS status = {};
    SERVICE_STATUS stopping = {};
    if (!ControlService(Service, SERVICE_CONTROL_STOP, &stopping) &&
        GetLastError() != ERROR_SERVICE_NOT_ACTIVE) {
        return LastErrorCode();
    }
    if (const uint32_t error = Settle(status)) return error;
    return status.dwCurrentState == SERVICE_STOPPED ? 0 : ERROR_SERVICE_CANNOT_ACCEPT_CTRL;
}

uint32_t Win32ServicePlatform::Delete()
{
    if (DeleteService(Service) || GetLastError() == ERROR_SERVICE_MARKED_FOR_DELETE) return 0;
    return LastErrorCode();
}

uint32_t Win32ServicePlatform::ReadEventSource(std::wstring& messageFile)
{
    return ReadEventSourceFile(messageFile);
}

uint32_t Win32ServicePlatform::WriteEventSource(const std::wstring& messageFile)
{
    return WriteEventSourceFile(messageFile);
}

uint32_t Win32ServicePlatform::RemoveEventSource()
{
    return DeleteEventSource();
}

std::vector<ServiceEvent> Win32ServicePlatform::LastEvents(size_t count)
{
    return ReadLastEvents(count);
}
