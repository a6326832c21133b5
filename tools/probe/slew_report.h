// The slew's lines in the probe's report.
#pragma once

#include <string>

#include "slew_run.h"

// The line printed before the slew starts.
std::wstring FormatSlewStart(const SlewPlan& plan);
std::wstring FormatSlewRun(const SlewPlan& plan, const SlewRun& run);

// Empty when the slew ran to its end, handed back and read every value.
std::wstring SlewFailure(const SlewRun& run);
