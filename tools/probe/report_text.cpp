#include "report_text.h"

#include <stdio.h>
#include <string.h>

namespace {

constexpr uint64_t UnitsPerTenthMsec = 1000;  // 100-ns units

}  // namespace

std::wstring LabelledLine(const wchar_t* label, const std::wstring& value)
{
    return label + (L": " + value) + L"\n";
}

std::wstring YesNoText(bool value)
{
    return value ? L"yes" : L"no";
}

std::wstring FailureText(const CallFailure& failure)
{
    return std::wstring(failure.call) + L" failed (error " + std::to_wstring(failure.error) + L")";
}

std::wstring AdjustmentText(const AdjustmentValues& values)
{
    return L"adjustment " + std::to_wstring(values.adjustment) + L", increment " +
           std::to_wstring(values.increment) + L", disabled " + YesNoText(values.disabled);
}

std::wstring RateText(double rate)
{
    char text[32];
    snprintf(text, sizeof text, "%.4f", rate);
    return AsciiText(text);
}

std::wstring MillisecondsText(int64_t units, bool sign)
{
    const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : units;
    const uint64_t tenths = (magnitude + UnitsPerTenthMsec / 2) / UnitsPerTenthMsec;
    // What rounds to zero has no sign of its own.
    const std::wstring prefix = units < 0 && tenths != 0 ? L"-" : (sign ? L"+" : L"");
    return prefix + std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) + L" ms";
}

std::wstring AsciiText(const char* text)
{
    return std::wstring(text, text + strlen(text));
}
