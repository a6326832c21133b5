#include "probe_report.h"

#include <stdio.h>
#include <string.h>

#include "slew_preconditions.h"

namespace {

struct Named {
    uint32_t value;
    const wchar_t* name;
};

const Named IntegrityLevels[] = {{0x0000, L"Untrusted"}, {0x1000, L"Low"},
                                 {0x2000, L"Medium"},    {0x2100, L"Medium Plus"},
                                 {0x3000, L"High"},      {0x4000, L"System"},
                                 {0x5000, L"Protected"}};
const Named ServiceStates[] = {{1, L"stopped"},          {2, L"start pending"},
                               {3, L"stop pending"},     {4, L"running"},
                               {5, L"continue pending"}, {6, L"pause pending"},
                               {7, L"paused"}};
const Named StartTypes[] = {{0, L"boot"},   {1, L"system"},   {2, L"automatic"},
                            {3, L"demand"}, {4, L"disabled"}};
const Named ElevationTypes[] = {{1, L"default"}, {2, L"full"}, {3, L"limited"}};

std::wstring Ascii(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

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
    return name + (L" (" + Ascii(number)) + L")";
}

std::wstring Fixed(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%.4f", value);
    return Ascii(text);
}

// 100-ns units as milliseconds with one decimal, signed when `sign` (zero as "+0.0").
std::wstring Milliseconds(int64_t units, bool sign)
{
    const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : units;
    const uint64_t tenths = (magnitude + TimeUnitsPerMsec / 20) / (TimeUnitsPerMsec / 10);
    const std::wstring prefix = units < 0 && tenths != 0 ? L"-" : (sign ? L"+" : L"");
    return prefix + std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) + L" ms";
}

std::wstring YesNo(bool value)
{
    return value ? L"yes" : L"no";
}

std::wstring Failed(const CallFailure& failure)
{
    return std::wstring(failure.call) + L" failed (error " + std::to_wstring(failure.error) + L")";
}

std::wstring Line(const wchar_t* label, const std::wstring& value)
{
    return label + (L": " + value) + L"\n";
}

std::wstring AdjustmentText(const AdjustmentValues& values)
{
    return L"adjustment " + std::to_wstring(values.adjustment) + L", increment " +
           std::to_wstring(values.increment) + L", disabled " + YesNo(values.disabled);
}

std::wstring SystemLines(const SystemFacts& system, const std::wstring& version)
{
    const std::wstring arch = system.processBits == 64 ? L"x64" : L"x86";
    std::wstring text = L"QuellapProbe " + version + L" (" + arch + L")\n";
    if (system.failure.call != nullptr) return text + Line(L"Windows", Failed(system.failure));
    std::wstring windows = std::to_wstring(system.major) + L"." + std::to_wstring(system.minor) +
                           L"." + std::to_wstring(system.build) + L"." +
                           std::to_wstring(system.revision);
    if (!system.product.empty()) windows += L" (" + system.product + L")";
    text += Line(L"Windows", windows);
    if (!system.wine.empty()) text += Line(L"Wine", system.wine);
    text += Line(L"Process", std::to_wstring(system.processBits) + L"-bit, WOW64 " +
                                 YesNo(system.wow64));
    return text + Line(L"Performance counter", std::to_wstring(system.counterFrequency) +
                                                    L" Hz; precise system time " +
                                                    YesNo(system.preciseTime));
}

std::wstring TokenLines(const TokenFacts& token)
{
    if (token.failure.call != nullptr) return Line(L"Token", Failed(token.failure));
    const std::wstring user = token.user.empty() ? token.sid : token.user + L" (" + token.sid + L")";
    std::wstring privilege = token.privilegePresent ? L"present, " : L"absent";
    if (token.privilegePresent) privilege += token.privilegeEnabled ? L"enabled" : L"disabled";
    return Line(L"User", user) +
           Line(L"Elevated", YesNo(token.elevated) + L", elevation type " +
                                 NameOf(ElevationTypes, token.elevationType)) +
           Line(L"Integrity level", NameOf(IntegrityLevels, token.integrityRid, "0x%x")) +
           Line(L"SeSystemtimePrivilege", privilege);
}

std::wstring SessionLines(const SessionFacts& session)
{
    if (session.failure.call != nullptr) return Line(L"Session", Failed(session.failure));
    return Line(L"Session", std::to_wstring(session.sessionId)) +
           Line(L"Window station", session.windowStation) + Line(L"Desktop", session.desktop);
}

std::wstring ServiceText(const ServiceFacts& service)
{
    if (service.failure.call != nullptr) return Failed(service.failure);
    if (!service.installed) return L"not installed";
    std::wstring text = NameOf(ServiceStates, service.state) + L", start type " +
                        NameOf(StartTypes, service.startType);
    return service.binaryPath.empty() ? text : text + L", " + service.binaryPath;
}

std::wstring TimeServiceLines(const TimeServiceFacts& time)
{
    std::wstring type = time.type.empty() ? L"not set" : time.type;
    if (time.typeFailure.call != nullptr) type = Failed(time.typeFailure);
    return Line(L"Windows Time service", ServiceText(time.service)) +
           Line(L"Windows Time Type", type) +
           Line(L"Windows Time adjusts the clock", YesNo(TimeServiceAdjusts(time)));
}

std::wstring SourceLines(const SourceFacts& sources)
{
    std::wstring text = Line(L"Horavant.ini", sources.settingsPath +
                                                  (sources.settingsFound
                                                       ? L""
                                                       : L" (not found: no source is trusted)"));
    text += Line(L"Announcement windows", std::to_wstring(sources.lines.size()));
    for (const std::wstring& line : sources.lines) text += L"  " + line + L"\n";
    return text;
}

std::wstring PhaseLine(const wchar_t* label, const SlewPlan& plan, const PhaseMeasure& phase)
{
    return Line(label, L"asked rate " + Fixed(AskedRate(phase.adjustment, plan.increment)) +
                           L", measured " + Fixed(MeasuredRate(phase)) + L" (clock " +
                           Milliseconds(phase.clockUnits, false) + L" in " +
                           Milliseconds(phase.realUnits, false) + L")");
}

std::wstring HandBackText(const SlewRun& run)
{
    switch (run.handBack) {
    case HandBackOutcome::Done:
        return L"yes";
    case HandBackOutcome::NothingSet:
        return L"not needed (nothing was set)";
    case HandBackOutcome::Failed:
        break;
    }
    return L"FAILED (error " + std::to_wstring(run.handBackError) +
           L"): the clock keeps this rate until Horavant starts in clock-setting mode or "
           L"Windows restarts";
}

std::wstring EndText(const SlewRun& run)
{
    const std::wstring phase = run.endPhase == 0 ? L"the fast phase" : L"the slow phase";
    switch (run.end) {
    case SlewEnd::Completed:
        return L"completed";
    case SlewEnd::Stopped:
        return L"stopped in " + phase + L" (Ctrl+C or the console closing)";
    case SlewEnd::SetFailed:
        break;
    }
    return L"SetSystemTimeAdjustment failed in " + phase + L" (error " +
           std::to_wstring(run.setError) + L")";
}

}  // namespace

std::wstring FormatFacts(const ProbeFacts& facts, const std::wstring& version)
{
    const AdjustmentFacts& adjustment = facts.adjustment;
    return SystemLines(facts.system, version) + TokenLines(facts.token) +
           SessionLines(facts.session) + TimeServiceLines(facts.timeService) +
           Line(L"GetSystemTimeAdjustment", adjustment.failure.call != nullptr
                                                ? Failed(adjustment.failure)
                                                : AdjustmentText(adjustment.values)) +
           Line(L"Horavant service", ServiceText(facts.watcherService)) +
           SourceLines(facts.sources);
}

std::wstring FormatSlewStart(const SlewPlan& plan)
{
    return Line(L"Slew", L"twice the rate (adjustment " +
                             std::to_wstring(plan.phases[0].adjustment) + L") for " +
                             std::to_wstring(plan.phases[0].durationMsec) +
                             L" ms, then a fifth (" + std::to_wstring(plan.phases[1].adjustment) +
                             L") for " + std::to_wstring(plan.phases[1].durationMsec) +
                             L" ms; Ctrl+C stops it and hands the clock back");
}

std::wstring FormatSlewRun(const SlewPlan& plan, const SlewRun& run)
{
    std::wstring text;
    if (run.handBack != HandBackOutcome::NothingSet) {  // the first rate was set
        text += Line(L"While set", run.whileSetFailure.call != nullptr
                                       ? Failed(run.whileSetFailure)
                                       : AdjustmentText(run.whileSet));
    }
    static const wchar_t* const Labels[] = {L"Fast phase", L"Slow phase"};
    for (size_t i = 0; i < run.phases.size(); ++i) text += PhaseLine(Labels[i], plan, run.phases[i]);
    text += Line(L"Slew end", EndText(run));
    if (run.end == SlewEnd::Completed) {
        text += Line(L"Net change", Milliseconds(NetChangeUnits(run.phases), true));
    }
    return text + Line(L"Handed back", HandBackText(run)) +
           Line(L"After", run.afterFailure.call != nullptr ? Failed(run.afterFailure)
                                                           : AdjustmentText(run.after));
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
        if (part.failure.call != nullptr) failures.push_back(part.name + (L": " + Failed(part.failure)));
    }
    return failures;
}

std::wstring SlewFailure(const SlewRun& run)
{
    if (run.end != SlewEnd::Completed) return L"slew: " + EndText(run);
    if (run.handBack != HandBackOutcome::Done) return L"slew: handed back " + HandBackText(run);
    if (run.whileSetFailure.call != nullptr) return L"slew: " + Failed(run.whileSetFailure);
    if (run.afterFailure.call != nullptr) return L"slew: " + Failed(run.afterFailure);
    return L"";
}

std::wstring FormatResult(const std::vector<std::wstring>& failures)
{
    if (failures.empty()) return L"Result: complete\n";
    std::wstring text = L"Result: failed: ";
    for (size_t i = 0; i < failures.size(); ++i) text += (i == 0 ? L"" : L"; ") + failures[i];
    return text + L"\n";
}
