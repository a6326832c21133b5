#include "probe_report.h"

#include <stdio.h>

#include "report_text.h"
#include "slew_preconditions.h"

namespace {

struct Named {
    uint32_t value;
    const wchar_t* name;
};

const Named IntegrityLevels[] = {{0x0000, L"Untrusted"},   {0x1000, L"Low"},  {0x2000, L"Medium"},
                                 {0x2100, L"Medium Plus"}, {0x3000, L"High"}, {0x4000, L"System"},
                                 {0x5000, L"Protected"}};
const Named ServiceStates[] = {{1, L"stopped"}, {2, L"start pending"},    {3, L"stop pending"},
                               {4, L"running"}, {5, L"continue pending"}, {6, L"pause pending"},
                               {7, L"paused"}};
const Named StartTypes[] = {
    {0, L"boot"}, {1, L"system"}, {2, L"automatic"}, {3, L"demand"}, {4, L"disabled"}};
const Named ElevationTypes[] = {{1, L"default"}, {2, L"full"}, {3, L"limited"}};

// "name (value)", the value as `format` has it.
template <size_t N>
std::wstring NameOf(const Named (&table)[N], uint32_t value, const char* format = "%u")
{
    char number[16];
    snprintf(number, sizeof number, format, static_cast<unsigned>(value));
    const wchar_t* name = L"unknown";
    for (const Named& entry : table) {
        if (entry.value == value) name = entry.name;
    }
    return name + (L" (" + AsciiText(number)) + L")";
}

std::wstring WindowsText(const SystemFacts& system)
{
    if (system.failure.call != nullptr) return FailureText(system.failure);
    std::wstring text = std::to_wstring(system.major) + L"." + std::to_wstring(system.minor) +
                        L"." + std::to_wstring(system.build) + L"." +
                        std::to_wstring(system.revision);
    return system.product.empty() ? text : text + L" (" + system.product + L")";
}

std::wstring SystemLines(const SystemFacts& system, const std::wstring& version)
{
    const std::wstring arch = system.processBits == 64 ? L"x64" : L"x86";
    std::wstring text = L"QuellapProbe " + version + L" (" + arch + L")\n";
    text += LabelledLine(L"Windows", WindowsText(system));
    if (!system.wine.empty()) text += LabelledLine(L"Wine", system.wine);
    text += LabelledLine(L"Process", std::to_wstring(system.processBits) + L"-bit, WOW64 " +
                                         YesNoText(system.wow64));
    return text + LabelledLine(L"Performance counter", std::to_wstring(system.counterFrequency) +
                                                           L" Hz; precise system time " +
                                                           YesNoText(system.preciseTime));
}

std::wstring TokenLines(const TokenFacts& token)
{
    if (token.failure.call != nullptr) return LabelledLine(L"Token", FailureText(token.failure));
    const std::wstring user =
        token.user.empty() ? token.sid : token.user + L" (" + token.sid + L")";
    std::wstring privilege = token.privilegePresent ? L"present, " : L"absent";
    if (token.privilegePresent) privilege += token.privilegeEnabled ? L"enabled" : L"disabled";
    return LabelledLine(L"User", user) +
           LabelledLine(L"Elevated", YesNoText(token.elevated) + L", elevation type " +
                                         NameOf(ElevationTypes, token.elevationType)) +
           LabelledLine(L"Integrity level", NameOf(IntegrityLevels, token.integrityRid, "0x%x")) +
           LabelledLine(L"SeSystemtimePrivilege", privilege);
}

std::wstring SessionLines(const SessionFacts& session)
{
    if (session.failure.call != nullptr) {
        return LabelledLine(L"Session", FailureText(session.failure));
    }
    return LabelledLine(L"Session", std::to_wstring(session.sessionId)) +
           LabelledLine(L"Window station", session.windowStation) +
           LabelledLine(L"Desktop", session.desktop);
}

std::wstring ServiceText(const ServiceFacts& service)
{
    if (service.failure.call != nullptr) return FailureText(service.failure);
    if (!service.installed) return L"not installed";
    std::wstring text = NameOf(ServiceStates, service.state) + L", start type " +
                        NameOf(StartTypes, service.startType);
    return service.binaryPath.empty() ? text : text + L", " + service.binaryPath;
}

std::wstring TimeServiceLines(const TimeServiceFacts& time)
{
    std::wstring type = time.type.empty() ? L"not set" : time.type;
    if (time.typeFailure.call != nullptr) type = FailureText(time.typeFailure);
    return LabelledLine(L"Windows Time service", ServiceText(time.service)) +
           LabelledLine(L"Windows Time Type", type) +
           LabelledLine(L"Windows Time adjusts the clock", YesNoText(TimeServiceAdjusts(time)));
}

std::wstring SourceLines(const SourceFacts& sources)
{
    std::wstring text = LabelledLine(
        L"Horavant.ini", sources.settingsPath +
                             (sources.settingsFound ? L"" : L" (not found: no source is trusted)"));
    text += LabelledLine(L"Announcement windows", std::to_wstring(sources.lines.size()));
    for (const std::wstring& line : sources.lines) text += L"  " + line + L"\n";
    return text;
}

}  // namespace

std::wstring FormatFacts(const ProbeFacts& facts, const std::wstring& version)
{
    const AdjustmentFacts& adjustment = facts.adjustment;
    return SystemLines(facts.system, version) + TokenLines(facts.token) +
           SessionLines(facts.session) + TimeServiceLines(facts.timeService) +
           LabelledLine(L"GetSystemTimeAdjustment", adjustment.failure.call != nullptr
                                                        ? FailureText(adjustment.failure)
                                                        : AdjustmentText(adjustment.values)) +
           LabelledLine(L"Horavant service", ServiceText(facts.watcherService)) +
           SourceLines(facts.sources);
}

std::vector<std::wstring> FactFailures(const ProbeFacts& facts)
{
    const struct {
        const wchar_t* name;
        const CallFailure& failure;
    } parts[] = {{L"Windows", facts.system.failure},
                 {L"token", facts.token.failure},
                 {L"session", facts.session.failure},
                 {L"Windows Time service", facts.timeService.service.failure},
                 {L"Windows Time Type", facts.timeService.typeFailure},
                 {L"time adjustment", facts.adjustment.failure},
                 {L"Horavant service", facts.watcherService.failure}};
    std::vector<std::wstring> failures;
    for (const auto& part : parts) {
        if (part.failure.call != nullptr) {
            failures.push_back(part.name + (L": " + FailureText(part.failure)));
        }
    }
    return failures;
}

std::wstring FormatResult(const std::vector<std::wstring>& failures)
{
    if (failures.empty()) return L"Result: complete\n";
    std::wstring text = L"Result: failed: ";
    for (size_t i = 0; i < failures.size(); ++i) text += (i == 0 ? L"" : L"; ") + failures[i];
    return text + L"\n";
}
