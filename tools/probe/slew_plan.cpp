#include "slew_plan.h"

namespace {

constexpr int64_t TimeUnitsPerSecond = 10000000;

}  // namespace

bool MakeSlewPlan(uint32_t increment, uint32_t fastAdjustment, uint32_t slowAdjustment,
                  SlewPlan& plan)
{
    plan = SlewPlan{};
    if (fastAdjustment <= increment || slowAdjustment >= increment) return false;
    // Gain at fast: (fast - increment) / increment per ms; loss at slow: (increment - slow) /
    // increment per ms.
    const uint64_t gain = uint64_t{FastPhaseMsec} * (fastAdjustment - increment);
    const uint64_t lossPerMsec = increment - slowAdjustment;
    const uint64_t slowMsec = (gain + lossPerMsec / 2) / lossPerMsec;
    if (slowMsec > UINT32_MAX) return false;
    plan.increment = increment;
    plan.phases[0] = {fastAdjustment, FastPhaseMsec};
    plan.phases[1] = {slowAdjustment, static_cast<uint32_t>(slowMsec)};
    return true;
}

int64_t CounterUnits(int64_t ticks, int64_t frequency)
{
    if (frequency <= 0) return 0;
    return ticks / frequency * TimeUnitsPerSecond +
           ticks % frequency * TimeUnitsPerSecond / frequency;
}

PhaseMeasure MeasurePhase(uint32_t adjustment, const ClockSample& start, const ClockSample& end,
                          int64_t frequency)
{
    return {adjustment, CounterUnits(end.counter - start.counter, frequency),
            end.systemTime - start.systemTime};
}

double AskedRate(uint32_t adjustment, uint32_t increment)
{
    return increment == 0 ? 0.0 : static_cast<double>(adjustment) / increment;
}

double MeasuredRate(const PhaseMeasure& phase)
{
    return phase.realUnits <= 0 ? 0.0 : static_cast<double>(phase.clockUnits) / phase.realUnits;
}

int64_t NetChangeUnits(const std::vector<PhaseMeasure>& phases)
{
    int64_t net = 0;
    for (const PhaseMeasure& phase : phases) net += phase.clockUnits - phase.realUnits;
    return net;
}
