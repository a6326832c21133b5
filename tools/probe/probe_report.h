// QuellapProbe's plain-text report: one "Label: value" line per fact, and a last line that names
// whatever failed (slew_report.h has the slew's lines).
#pragma once

#include <string>
#include <vector>

#include "probe_facts.h"

std::wstring FormatFacts(const ProbeFacts& facts, const std::wstring& version);

// What kept the report from being complete, one entry each ("token: OpenProcessToken failed
// (error 5)").
std::vector<std::wstring> FactFailures(const ProbeFacts& facts);
// "Result: complete", or "Result: failed: ..." with every failure.
std::wstring FormatResult(const std::vector<std::wstring>& failures);
