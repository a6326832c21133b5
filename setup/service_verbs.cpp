#include "service_verbs.h"

#include <functional>

#include "service_program.h"
#include "setup_names.h"
#include "slot_status.h"

namespace {

constexpr size_t EventsShown = 10;

FileReport ServiceReport(Message id, std::vector<std::wstring> args = {}, bool failed = false)
{
    FileReport report;
    report.path = WatcherServiceName;
    report.result = {id, std::move(args)};
    report.failed = failed;
    return report;
}

FileReport FailedReport(Message id, uint32_t error)
{
    return ServiceReport(id, {DecimalText(error)}, true);
}

// Opening the manager for changes is what Windows denies an administrator who is not elevated.
bool Connected(ServicePlatform& platform, bool forChanges, FileReport& report)
{
    const uint32_t error = platform.Connect(forChanges);
    if (error == 0) return true;
    report = FailedReport(error == ErrorAccessDenied ? Message::RefuseNotElevated
                                                     : Message::FailedServiceManager,
                          error);
    return false;
}

// Whether the service is there; a failure other than its absence is reported.
bool Queried(ServicePlatform& platform, RegisteredService& facts, bool& exists,
             FileReport& report)
{
    const uint32_t error = platform.Query(facts);
    exists = error == 0;
    if (error == 0 || error == ErrorServiceDoesNotExist) return true;
    report = FailedReport(Message::FailedServiceManager, error);
    return false;
}

struct ServiceStep {
    Message failure;                 // what a failure of the step says
    std::function<uint32_t()> run;
    std::function<uint32_t()> undo;  // empty when there is nothing to undo
    Message notUndone;               // what a failure of the undoing says
};

// Runs the steps in order; after a failed one undoes the done ones, newest first, and `report`
// tells the failure and what could not be put back.
void RunAllOrNothing(const std::vector<ServiceStep>& steps, FileReport& report)
{
    size_t done = 0;
    uint32_t error = 0;
    while (done < steps.size() && (error = steps[done].run()) == 0) ++done;
    if (done == steps.size()) return;
    report.result = {steps[done].failure, {DecimalText(error)}};
    report.failed = true;
    report.notes.clear();
    while (done-- > 0) {
        const uint32_t undoError = steps[done].undo ? steps[done].undo() : 0;
        if (undoError) report.notes.push_back({steps[done].notUndone, {DecimalText(undoError)}});
    }
    if (report.notes.empty()) report.notes.push_back({Message::NoteNothingChanged, {}});
}

FileReport Register(ServicePlatform& platform, const std::wstring& program,
                    const std::wstring& commandLine, const std::wstring& description)
{
    std::wstring previousSource;
    const bool hadSource = platform.ReadEventSource(previousSource) == 0;
    FileReport report = ServiceReport(Message::ServiceInstalled, {commandLine});
    // Restarting after a failure is worth a warning, not the whole install (Wine cannot set it).
    const auto restart = [&] {
        const uint32_t error = platform.RestartAfterFailure();
        if (error) report.notes.push_back({Message::NoteNoRestart, {DecimalText(error)}});
        return 0u;
    };
    RunAllOrNothing(
        {{Message::FailedCreateService, [&] { return platform.Create(commandLine); },
          [&] {
              platform.Stop();  // a start that timed out may still come
              return platform.Delete();
          },
          Message::NoteUndoServiceLeft},
         {Message::FailedDescribe, [&] { return platform.Describe(description); }, {},
          Message::Count},
         {Message::Count, restart, {}, Message::Count},
         {Message::FailedEventSource, [&] { return platform.WriteEventSource(program); },
          [&] {
              return hadSource ? platform.WriteEventSource(previousSource)
                               : platform.RemoveEventSource();
          },
          Message::NoteUndoEventSource},
         {Message::FailedStart, [&] { return platform.Start(); }, {}, Message::Count}},
        report);
    return report;
}

// The same program registered already: it only needs to run.
FileReport StartRegistered(ServicePlatform& platform, const RegisteredService& facts)
{
    if (facts.state == ServiceState::Running) {
        return ServiceReport(Message::ServiceAlreadyRunning, {facts.commandLine});
    }
    if (const uint32_t error = platform.Start()) return FailedReport(Message::FailedStart, error);
    return ServiceReport(Message::ServiceAlreadyStarted, {facts.commandLine});
}

FileReport Install(FileStore& store, ServicePlatform& platform, const std::wstring& argument,
                   const std::wstring& description)
{
    FileReport report;
    std::wstring program;
    ReportLine refusal;
    RegisteredService facts;
    bool exists = false;
    if (!Connected(platform, true, report)) return report;
    if (!CheckServiceProgram(store, platform, argument, program, refusal)) {
        return ServiceReport(refusal.id, refusal.args, true);
    }
    if (!Queried(platform, facts, exists, report)) return report;
    const std::wstring commandLine = L"\"" + program + L"\" " + WatcherServiceArgument;
    if (exists && !EqualNoCase(facts.commandLine, commandLine)) {
        return ServiceReport(Message::RefuseOtherService, {WatcherServiceName, facts.commandLine},
                             true);
    }
    report = exists ? StartRegistered(platform, facts)
                    : Register(platform, program, commandLine, description);
    if (!report.failed && platform.WindowsTimeAdjustsClock()) {
        report.notes.push_back({Message::NoteWindowsTime, {}});
    }
    return report;
}

// Stopped first, so that it hands the clock back; it starts again if a later step fails.
FileReport Uninstall(ServicePlatform& platform)
{
    FileReport report;
    RegisteredService facts;
    bool exists = false;
    if (!Connected(platform, true, report) || !Queried(platform, facts, exists, report)) {
        return report;
    }
    if (!exists) return ServiceReport(Message::ServiceNotInstalled);
    std::wstring source;
    const bool hadSource = platform.ReadEventSource(source) == 0;
    const bool wasRunning = facts.state != ServiceState::Stopped;
    report = ServiceReport(Message::ServiceRemoved);
    RunAllOrNothing(
        {{Message::FailedStop, [&] { return platform.Stop(); },
          [&] { return wasRunning ? platform.Start() : 0; }, Message::NoteUndoStart},
         {Message::FailedRemoveEventSource, [&] { return platform.RemoveEventSource(); },
          [&] { return hadSource ? platform.WriteEventSource(source) : 0; },
          Message::NoteUndoEventSource},
         {Message::FailedDeleteService, [&] { return platform.Delete(); }, {}, Message::Count}},
        report);
    return report;
}

Message StateMessage(ServiceState state)
{
    switch (state) {
    case ServiceState::Stopped: return Message::ServiceStopped;
    case ServiceState::Starting: return Message::ServiceStarting;
    case ServiceState::Stopping: return Message::ServiceStopping;
    case ServiceState::Running: return Message::ServiceRunning;
    case ServiceState::Other: break;
    }
    return Message::ServiceOtherState;
}

Message StartMessage(StartType start)
{
    switch (start) {
    case StartType::Automatic: return Message::NoteStartAutomatic;
    case StartType::DelayedAutomatic: return Message::NoteStartDelayed;
    case StartType::Manual: return Message::NoteStartManual;
    case StartType::Disabled: return Message::NoteStartDisabled;
    case StartType::Other: break;
    }
    return Message::NoteStartOther;
}

std::vector<FileReport> Status(ServicePlatform& platform)
{
    FileReport report;
    RegisteredService facts;
    bool exists = false;
    if (!Connected(platform, false, report) || !Queried(platform, facts, exists, report)) {
        return {report};
    }
    if (!exists) return {ServiceReport(Message::ServiceNotInstalled)};
    report = ServiceReport(StateMessage(facts.state));
    report.notes = {{StartMessage(facts.start), {}},
                    {Message::NoteCommandLine, {facts.commandLine}}};
    if (facts.exitCode) {
        report.notes.push_back({Message::NoteLastExit, {DecimalText(facts.exitCode)}});
    }
    if (platform.WindowsTimeAdjustsClock()) report.notes.push_back({Message::NoteWindowsTime, {}});
    std::vector<FileReport> reports = {report};
    const Message kinds[] = {Message::EventInformation, Message::EventWarning, Message::EventError};
    for (const ServiceEvent& event : platform.LastEvents(EventsShown)) {
        reports.push_back(ServiceReport(kinds[event.kind], {event.time, event.text}));
    }
    return reports;
}

}  // namespace

std::wstring PackageWatcherPath(const std::wstring& packageFolder, bool windows64)
{
    return packageFolder + L"\\" + (windows64 ? PackageFolderX64 : PackageFolderX86) + L"\\" +
           WatcherFileName;
}

std::vector<FileReport> RunServiceVerb(FileStore& store, ServicePlatform& platform,
                                       ServiceVerb verb, const std::wstring& program,
                                       const std::wstring& description)
{
    switch (verb) {
    case ServiceVerb::Install: return {Install(store, platform, program, description)};
    case ServiceVerb::Uninstall: return {Uninstall(platform)};
    case ServiceVerb::Status: return Status(platform);
    case ServiceVerb::None: break;
    }
    return {};
}
