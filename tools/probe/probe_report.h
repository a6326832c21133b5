// QuellapProbe's plain-text report: one "Label: value" line per fact, the slew's figures, and
// a last line that names whatever failed.
#pragma once

#include <string>
#include <vector>

#include "probe_facts.h"
#include "slew_run.h"

std::wstring FormatFacts(const ProbeFacts& facts, const std::wstring& version);

// The line printed before the slew starts.
std::wstring FormatSlewStart(const SlewPlan& plan);
std::wstring FormatSlewRun(const SlewPlan& plan, const SlewRun& run);

// What kept the report from being complete, one entry each ("token: OpenProcessToken failed
// (error 5)").
std::vector<std::wstring> FactFailures(const ProbeFacts& facts);
// Empty when the slew ran to its end and every value could be read.
std::wstring SlewFailure(const SlewRun& run);

// "Result: complete", or "Result: failed: ..." with every failure.
std::wstring FormatResult(const std::vector<std::wstring>& failures);
