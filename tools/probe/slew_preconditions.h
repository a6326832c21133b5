// When the probe may slew: only with the right to change the time and a counter to time it by,
// while nobody else adjusts the clock, so that what it measures is its own rate and what it
// hands back is the system's.
#pragma once

#include "probe_facts.h"

// True when the Windows Time service runs with a Type other than NoSync, and when that cannot
// be told.
bool TimeServiceAdjusts(const TimeServiceFacts& facts);

// Why the slew may not run, or null when it may.
const wchar_t* SlewRefusal(const ProbeFacts& facts);
