#include "slew_probe_win32.h"

#include "clock_discipline.h"
#include "privilege_win32.h"
#include "setup_console_win32.h"
#include "slew_clock_win32.h"
#include "slew_preconditions.h"
#include "slew_report.h"

namespace {

Win32SlewClock* ActiveClock;
SlewOwnership* ActiveOwnership;
LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter;

void HandBackAndStop()
{
    uint32_t error = 0;
    ActiveOwnership->HandBack(error);
    ActiveClock->Stop();
}

// Ctrl+C and Ctrl+Break end the slew and the report goes on; after the console's closing, a
// log-off or a shutdown the system ends the process as soon as this returns.
BOOL WINAPI HandBackOnConsoleEvent(DWORD)
{
    HandBackAndStop();
    return TRUE;
}

// Whoever handled crashes before (the C runtime, the system's error report) still does.
LONG WINAPI HandBackOnCrash(EXCEPTION_POINTERS* exception)
{
    HandBackAndStop();
    return PreviousCrashFilter ? PreviousCrashFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// The watcher's privilege step, without its message box: the report says what happened.
class QuietPrivilegePlatform : public Win32PrivilegePlatform {
public:
    void WarnNoPrivilege() override {}
};

// Null when the slew may run, with its plan at the watcher's own two rates.
const wchar_t* PrepareSlew(const ProbeFacts& facts, SlewPlan& plan)
{
    if (const wchar_t* refusal = SlewRefusal(facts)) return refusal;
    const DWORD increment = facts.adjustment.values.increment;
    if (!MakeSlewPlan(increment, FastAdjustment(increment), SlowAdjustment(increment), plan)) {
        return L"the increment is too small to slew";
    }
    QuietPrivilegePlatform privilege;
    bool enabled = true;
    AcquireClockPrivilege(privilege, enabled);
    return enabled ? nullptr : L"SeSystemtimePrivilege could not be enabled";
}

}  // namespace

std::wstring ProbeSlew(const ProbeFacts& facts, SetupConsole& console)
{
    // Process-wide: the console handler may still run on its own thread as the slew ends.
    static Win32SlewClock clock;
    static SlewOwnership ownership(clock);
    SlewPlan plan;
    const wchar_t* refusal = PrepareSlew(facts, plan);
    if (refusal == nullptr && !clock.Ready()) refusal = L"CreateEventW failed";
    if (refusal != nullptr) {
        console.Write(false, L"Slew: not run: " + std::wstring(refusal) + L"\n");
        return L"slew: not run: " + std::wstring(refusal);
    }
    ActiveClock = &clock;
    ActiveOwnership = &ownership;
    SetConsoleCtrlHandler(HandBackOnConsoleEvent, TRUE);
    PreviousCrashFilter = SetUnhandledExceptionFilter(HandBackOnCrash);
    console.Write(false, FormatSlewStart(plan));
    const SlewRun run = RunSlew(clock, ownership, plan, facts.system.counterFrequency);
    SetConsoleCtrlHandler(HandBackOnConsoleEvent, FALSE);
    SetUnhandledExceptionFilter(PreviousCrashFilter);
    console.Write(false, FormatSlewRun(plan, run));
    return SlewFailure(run);
}
