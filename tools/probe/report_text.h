// The pieces every line of the probe's report is made of.
#pragma once

#include <stdint.h>

#include <string>

#include "probe_facts.h"

// "label: value" and the line end.
std::wstring LabelledLine(const wchar_t* label, const std::wstring& value);
std::wstring YesNoText(bool value);
// "Call failed (error N)".
std::wstring FailureText(const CallFailure& failure);
std::wstring AdjustmentText(const AdjustmentValues& values);
// "0.2000": four decimals.
std::wstring RateText(double rate);
// 100-ns units as "12.3 ms"; with `sign` always signed ("+0.0 ms").
std::wstring MillisecondsText(int64_t units, bool sign);
// Text that is known to be ASCII, widened.
std::wstring AsciiText(const char* text);
