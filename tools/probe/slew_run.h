// The probe's slew from start to hand-back.
#pragma once

#include <stdint.h>

#include <vector>

#include "slew_ownership.h"

enum class SlewEnd {
    Completed,
    SetFailed,  // SetSystemTimeAdjustment refused a phase's rate
    Stopped,    // Ctrl+C, the console's closing
};

struct SlewRun {
    SlewEnd end = SlewEnd::Completed;
    uint32_t setError = 0;             // when SetFailed
    int endPhase = 0;                  // the phase it stopped or failed in
    std::vector<PhaseMeasure> phases;  // the phases that ran to their end
    // Read while the first phase's rate is set, when it was.
    CallFailure whileSetFailure;
    AdjustmentValues whileSet;
    HandBackOutcome handBack = HandBackOutcome::NothingSet;
    uint32_t handBackError = 0;
    CallFailure afterFailure;  // reading the values after the hand-back
    AdjustmentValues after;
};

// Runs `plan` phase by phase and hands the clock back at its end, on a refused rate and when
// the clock's wait is cut short.
SlewRun RunSlew(SlewClock& clock, SlewOwnership& ownership, const SlewPlan& plan,
                int64_t counterFrequency);
