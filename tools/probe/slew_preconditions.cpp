#include "slew_preconditions.h"

#include <wctype.h>

namespace {

constexpr uint32_t ServiceStopped = 1;

bool EqualIgnoringCase(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        if (towlower(a[i]) != towlower(b[i])) return false;
    }
    return i == a.size() && b[i] == 0;
}

}  // namespace

bool TimeServiceAdjusts(const TimeServiceFacts& facts)
{
    const ServiceFacts& service = facts.service;
    if (service.failure.call != nullptr) return true;
    if (!service.installed || service.state == ServiceStopped) return false;
    return facts.typeFailure.call != nullptr || !EqualIgnoringCase(facts.type, L"NoSync");
}

const wchar_t* SlewRefusal(const ProbeFacts& facts)
{
    if (facts.token.failure.call != nullptr) return L"the token could not be read";
    if (!facts.token.privilegePresent) {
        return L"the token lacks SeSystemtimePrivilege: run it as administrator";
    }
    if (facts.adjustment.failure.call != nullptr) return L"GetSystemTimeAdjustment failed";
    if (!facts.adjustment.values.disabled) {
        return L"an adjustment is already enabled: another program (Horavant, the Windows Time "
               L"service) is adjusting the clock";
    }
    // Every phase is timed by the counter: without it a phase would never end.
    if (facts.system.counterFrequency <= 0) return L"there is no performance counter";
    if (TimeServiceAdjusts(facts.timeService)) {
        return L"the Windows Time service adjusts the clock: stop it first (net stop w32time)";
    }
    return nullptr;
}
