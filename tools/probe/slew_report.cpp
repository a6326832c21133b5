#include "slew_report.h"

#include "report_text.h"

namespace {

std::wstring PhaseLine(const wchar_t* label, const SlewPlan& plan, const PhaseMeasure& phase)
{
    return LabelledLine(label, L"asked rate " +
                                   RateText(AskedRate(phase.adjustment, plan.increment)) +
                                   L", measured " + RateText(MeasuredRate(phase)) + L" (clock " +
                                   MillisecondsText(phase.clockUnits, false) + L" in " +
                                   MillisecondsText(phase.realUnits, false) + L")");
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

std::wstring FormatSlewStart(const SlewPlan& plan)
{
    return LabelledLine(
        L"Slew", L"twice the rate (adjustment " + std::to_wstring(plan.phases[0].adjustment) +
                     L") for " + std::to_wstring(plan.phases[0].durationMsec) +
                     L" ms, then a fifth (" + std::to_wstring(plan.phases[1].adjustment) +
                     L") for " + std::to_wstring(plan.phases[1].durationMsec) +
                     L" ms; Ctrl+C stops it and hands the clock back");
}

std::wstring FormatSlewRun(const SlewPlan& plan, const SlewRun& run)
{
    std::wstring text;
    if (run.handBack != HandBackOutcome::NothingSet) {  // the first rate was set
        text += LabelledLine(L"While set", run.whileSetFailure.call != nullptr
                                               ? FailureText(run.whileSetFailure)
                                               : AdjustmentText(run.whileSet));
    }
    static const wchar_t* const Labels[] = {L"Fast phase", L"Slow phase"};
    for (size_t i = 0; i < run.phases.size(); ++i)
        text += PhaseLine(Labels[i], plan, run.phases[i]);
    text += LabelledLine(L"Slew end", EndText(run));
    if (run.end == SlewEnd::Completed) {
        text += LabelledLine(L"Net change", MillisecondsText(NetChangeUnits(run.phases), true));
    }
    return text + LabelledLine(L"Handed back", HandBackText(run)) +
           LabelledLine(L"After", run.afterFailure.call != nullptr ? FailureText(run.afterFailure)
                                                                   : AdjustmentText(run.after));
}

std::wstring SlewFailure(const SlewRun& run)
{
    if (run.end != SlewEnd::Completed) return L"slew: " + EndText(run);
    if (run.handBack != HandBackOutcome::Done) return L"slew: handed back " + HandBackText(run);
    if (run.whileSetFailure.call != nullptr) return L"slew: " + FailureText(run.whileSetFailure);
    if (run.afterFailure.call != nullptr) return L"slew: " + FailureText(run.afterFailure);
    return L"";
}
