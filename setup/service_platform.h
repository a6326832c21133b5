// What the service verbs ask of Windows about the watcher's service, its program's place and
// its events; on Windows service_platform_win32.cpp, in the tests an in-memory machine. Calls
// return 0 or the system's error code (as GetLastError gives it).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "file_security.h"

constexpr uint32_t ErrorServiceDoesNotExist = 1060;

enum class ServiceState { Stopped, Starting, Stopping, Running, Other };
enum class StartType { Automatic, DelayedAutomatic, Manual, Disabled, Other };

struct RegisteredService {
    std::wstring commandLine;
    StartType start = StartType::Other;
    ServiceState state = ServiceState::Other;
    uint32_t exitCode = 0;  // the last run's error, 0 when it ended well
};

struct ServiceEvent {
    enum Kind { Information, Warning, Error } kind;
    std::wstring time;  // local, "YYYY-MM-DD hh:mm:ss"
    std::wstring text;
};

class ServicePlatform {
public:
    // Where a file really lies: its full path with every link and junction resolved.
    virtual uint32_t FinalPath(const std::wstring& path, std::wstring& final) = 0;
    virtual uint32_t ReadSecurity(const std::wstring& path, FileSecurity& security) = 0;
    // The account's name for messages; the SID itself when it has none.
    virtual std::wstring AccountName(const std::wstring& sid) = 0;
    virtual std::wstring InstallerSid() = 0;  // the user this program runs as
    virtual std::vector<std::wstring> ProfileFolders() = 0;  // where users' profiles lie
    virtual bool WindowsIs64Bit() = 0;
    virtual std::wstring ProgramFilesFolder() = 0;  // of the machine's own bitness
    // Whether the Windows Time service would adjust the clock too.
    virtual bool WindowsTimeAdjustsClock() = 0;

    // The service control manager, with the rights that installing and removing need when
    // `forChanges`; then the calls below act on the watcher's service.
    virtual uint32_t Connect(bool forChanges) = 0;
    virtual uint32_t Query(RegisteredService& facts) = 0;
    // Own process, automatic start, LocalSystem.
    virtual uint32_t Create(const std::wstring& commandLine) = 0;
    virtual uint32_t Describe(const std::wstring& description) = 0;
    virtual uint32_t RestartAfterFailure() = 0;
    virtual uint32_t Start() = 0;  // returns once it runs
    virtual uint32_t Stop() = 0;   // returns once it has stopped; 0 when it was not running
    virtual uint32_t Delete() = 0;

    // The event source of the service's name: the file with its messages, which the log's
    // readers use to word its events.
    virtual uint32_t ReadEventSource(std::wstring& messageFile) = 0;
    virtual uint32_t WriteEventSource(const std::wstring& messageFile) = 0;
    virtual uint32_t RemoveEventSource() = 0;
    // The source's newest events in the Application log, newest first; none where the log
    // cannot be read.
    virtual std::vector<ServiceEvent> LastEvents(size_t count) = 0;

protected:
    ~ServicePlatform() = default;
};
