// The probe's slew: the clock at the watcher's fast rate, then at its slow rate for as long as
// undoes the gain, each phase timed and measured against the performance counter.
#pragma once

#include <stdint.h>

#include <vector>

constexpr uint32_t FastPhaseMsec = 2000;
constexpr int64_t TimeUnitsPerMsec = 10000;  // 100-ns units, as FILETIME counts

struct SlewPhase {
    uint32_t adjustment;    // 100 ns added per clock interrupt
    uint32_t durationMsec;  // by the performance counter
};

struct SlewPlan {
    uint32_t increment;  // the clock interrupt's interval, 100 ns
    SlewPhase phases[2];
};

// Fast for FastPhaseMsec, then slow for as long as loses what the fast phase gained (rounded to
// the millisecond). False when the rates are no use: fast not above the increment or slow not
// below it.
bool MakeSlewPlan(uint32_t increment, uint32_t fastAdjustment, uint32_t slowAdjustment,
                  SlewPlan& plan);

// A moment read on both clocks, one right after the other.
struct ClockSample {
    int64_t counter;     // performance counter, ticks
    int64_t systemTime;  // system time, 100 ns since 1601
};

// One phase as it ran: how long it lasted by the performance counter and how far the system
// clock moved meanwhile, both in 100-ns units.
struct PhaseMeasure {
    uint32_t adjustment;
    int64_t realUnits;
    int64_t clockUnits;
};

// Counter ticks as 100-ns units, without overflow for any frequency.
int64_t CounterUnits(int64_t ticks, int64_t frequency);

PhaseMeasure MeasurePhase(uint32_t adjustment, const ClockSample& start, const ClockSample& end,
                          int64_t frequency);

// The rate the phase asked for and the one measured: clock time per real time.
double AskedRate(uint32_t adjustment, uint32_t increment);
double MeasuredRate(const PhaseMeasure& phase);

// How far the clock moved beyond real time over all the phases, 100 ns (negative: behind).
int64_t NetChangeUnits(const std::vector<PhaseMeasure>& phases);
