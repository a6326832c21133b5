// The probe's slew on a simulated machine: the plan that nets to zero, the rates measured, the
// hand-back on every way out, and when it may run at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "slew_preconditions.h"
#include "slew_run.h"

namespace {

constexpr int64_t CounterHz = 10000000;
constexpr uint32_t Refused = 1314;  // ERROR_PRIVILEGE_NOT_HELD

// The performance counter at CounterHz and a system clock that runs at the rate set (at its
// normal rate whatever is set when it does not `obey`, as under Wine). A wait ends after at
// most 700 ms, as a wait may end early, and can be cut short once, as Ctrl+C does.
class SimulatedClock : public SlewClock {
public:
    bool obeys = true;
    int failingSet = -1;  // index of the SetAdjustment call that is refused
    int stoppingWait = -1;
    std::function<void()> onStop;
    std::vector<std::pair<uint32_t, bool>> sets;

    uint32_t ReadAdjustment(AdjustmentValues& values) override
    {
        values = {Adjustment, Increment, Disabled};
        return 0;
    }
    uint32_t SetAdjustment(uint32_t adjustment, bool disabled) override
    {
        sets.emplace_back(adjustment, disabled);
        if (static_cast<int>(sets.size()) - 1 == failingSet) return Refused;
        if (obeys) {
            Adjustment = disabled ? Increment : adjustment;
            Disabled = disabled;
        }
        return 0;
    }
    ClockSample Sample() override { return {Counter, SystemTime}; }
    bool Wait(uint32_t msec) override
    {
        if (Waits++ == stoppingWait) {
            onStop();
            return false;
        }
        const int64_t units = std::min(msec, 700u) * TimeUnitsPerMsec;
        Counter += units * CounterHz / 10000000;
        SystemTime += units * Adjustment / Increment;
        return true;
    }

private:
    static constexpr uint32_t Increment = 156250;
    uint32_t Adjustment = Increment;
    bool Disabled = true;
    int64_t Counter = 123456789;
    int64_t SystemTime = 134000000000000000;  // in 2025
    int Waits = 0;
};

SlewPlan WatcherPlan()
{
    SlewPlan plan;
    EXPECT_TRUE(MakeSlewPlan(156250, 312500, 31250, plan));
    return plan;
}

}  // namespace

TEST(SlewPlan, TheSlowPhaseLosesWhatTheFastOneGained)
{
    const struct {
        uint32_t increment, fast, slow;
        bool valid;
        uint32_t slowMsec;
    } cases[] = {
        {156250, 312500, 31250, true, 2500},
        {100144, 200288, 20028, true, 2500},  // a fifth rounded down: 2499.95 ms
        {156001, 312002, 31200, true, 2500},
        {10, 20, 2, true, 2500},
        {0, 0, 0, false, 0},                 // no increment reported
        {156250, 156250, 31250, false, 0},   // a fast rate that is not faster
        {156250, 312500, 156250, false, 0},  // a slow rate that is not slower
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.increment);
        SlewPlan plan;
        ASSERT_EQ(MakeSlewPlan(c.increment, c.fast, c.slow, plan), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(plan.phases[0].adjustment, c.fast);
        EXPECT_EQ(plan.phases[0].durationMsec, FastPhaseMsec);
        EXPECT_EQ(plan.phases[1].adjustment, c.slow);
        EXPECT_EQ(plan.phases[1].durationMsec, c.slowMsec);
    }
}

TEST(SlewRun, MeasuresTheRatesAgainstTheCounterAndHandsBack)
{
    for (const bool obeys : {true, false}) {
        SCOPED_TRACE(obeys);
        SimulatedClock clock;
        clock.obeys = obeys;
        SlewOwnership ownership(clock);
        const SlewRun run = RunSlew(clock, ownership, WatcherPlan(), CounterHz);

        EXPECT_EQ(run.end, SlewEnd::Completed);
        ASSERT_EQ(run.phases.size(), 2u);
        EXPECT_EQ(run.phases[0].realUnits, 2000 * TimeUnitsPerMsec);
        EXPECT_DOUBLE_EQ(MeasuredRate(run.phases[0]), obeys ? 2.0 : 1.0);
        EXPECT_EQ(run.phases[1].realUnits, 2500 * TimeUnitsPerMsec);
        EXPECT_DOUBLE_EQ(MeasuredRate(run.phases[1]), obeys ? 0.2 : 1.0);
        EXPECT_EQ(NetChangeUnits(run.phases), 0);
        EXPECT_EQ(run.whileSet.adjustment, obeys ? 312500u : 156250u);
        EXPECT_EQ(run.whileSet.disabled, !obeys);
        EXPECT_EQ(run.handBack, HandBackOutcome::Done);
        EXPECT_TRUE(run.after.disabled);
        const std::vector<std::pair<uint32_t, bool>> sets = {
            {312500, false}, {31250, false}, {0, true}};
        EXPECT_EQ(clock.sets, sets);
    }
}

TEST(SlewRun, HandsBackOnEveryWayOut)
{
    using E = SlewEnd;
    using H = HandBackOutcome;
    const std::pair<uint32_t, bool> fast{312500, false}, slow{31250, false}, back{0, true};
    const struct {
        const char* way;
        int failingSet, stoppingWait;
        bool stopFirst;  // Ctrl+C before the first rate is set
        E end;
        int endPhase;
        H handBack;
        std::vector<std::pair<uint32_t, bool>> sets;
    } cases[] = {
        {"fast rate refused", 0, -1, false, E::SetFailed, 0, H::NothingSet, {fast}},
        {"slow rate refused", 1, -1, false, E::SetFailed, 1, H::Done, {fast, slow, back}},
        {"hand-back refused", 2, -1, false, E::Completed, 1, H::Failed, {fast, slow, back}},
        {"Ctrl+C in the fast phase", -1, 1, false, E::Stopped, 0, H::Done, {fast, back}},
        {"Ctrl+C in the slow phase", -1, 4, false, E::Stopped, 1, H::Done, {fast, slow, back}},
        {"Ctrl+C before the slew", -1, -1, true, E::Stopped, 0, H::NothingSet, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        SimulatedClock clock;
        clock.failingSet = c.failingSet;
        clock.stoppingWait = c.stoppingWait;
        SlewOwnership ownership(clock);
        uint32_t error = 0;
        // What the console handler does, on the waiting thread here.
        clock.onStop = [&] { ownership.HandBack(error); };
        if (c.stopFirst) clock.onStop();
        const SlewRun run = RunSlew(clock, ownership, WatcherPlan(), CounterHz);

        EXPECT_EQ(run.end, c.end);
        EXPECT_EQ(run.endPhase, c.endPhase);
        EXPECT_EQ(run.handBack, c.handBack);
        EXPECT_EQ(run.handBackError, c.handBack == H::Failed ? Refused : 0u);
        EXPECT_EQ(clock.sets, c.sets);
        // Once handed back, nothing sets a rate again.
        uint32_t setError = 0;
        EXPECT_EQ(ownership.Set(312500, setError), SetOutcome::Stopped);
        EXPECT_EQ(clock.sets, c.sets);
    }
}

TEST(SlewPreconditions, OnlyWhileNobodyElseAdjustsTheClock)
{
    ProbeFacts allowed;
    allowed.system.counterFrequency = CounterHz;
    allowed.token.privilegePresent = true;
    allowed.adjustment.values = {156250, 156250, true};
    allowed.timeService.service = {CallFailure{}, true, 4, 3, L""};  // running
    allowed.timeService.type = L"nosync";

    const struct {
        const char* why;
        std::function<void(ProbeFacts&)> change;
        bool refused;
    } cases[] = {
        {"allowed", [](ProbeFacts&) {}, false},
        {"token unread", [](ProbeFacts& f) { f.token.failure = {L"OpenProcessToken", 5}; }, true},
        {"no privilege", [](ProbeFacts& f) { f.token.privilegePresent = false; }, true},
        {"values unread",
         [](ProbeFacts& f) { f.adjustment.failure = {L"GetSystemTimeAdjustment", 5}; }, true},
        {"adjustment enabled", [](ProbeFacts& f) { f.adjustment.values.disabled = false; }, true},
        {"no counter", [](ProbeFacts& f) { f.system.counterFrequency = 0; }, true},
        {"time service syncing", [](ProbeFacts& f) { f.timeService.type = L"NTP"; }, true},
        {"its type unread", [](ProbeFacts& f) { f.timeService.typeFailure = {L"RegGetValueW", 5}; },
         true},
        {"service manager unread",
         [](ProbeFacts& f) { f.timeService.service.failure = {L"OpenSCManagerW", 5}; }, true},
        {"time service stopped",
         [](ProbeFacts& f) {
             f.timeService.service.state = 1;
             f.timeService.type = L"NTP";
         },
         false},
        {"no time service",
         [](ProbeFacts& f) {
             f.timeService.service.installed = false;
             f.timeService.type.clear();
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        ProbeFacts facts = allowed;
        c.change(facts);
        EXPECT_EQ(SlewRefusal(facts) != nullptr, c.refused);
    }
}
