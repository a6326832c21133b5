// QuellapSetup's texts in English and Japanese.
#pragma once

#include "setup_report.h"

// "PATH: result; note; note" (Japanese joins with "。").
std::wstring FormatReport(const FileReport& report, bool japanese);
// The usage text, several lines ending in a line feed.
std::wstring UsageText(const std::wstring& version, bool japanese);
std::wstring PressEnterText(bool japanese);
std::wstring ServiceDescriptionText(bool japanese);

// `pattern` with {0} to {9} replaced by the arguments (a missing one by nothing).
std::wstring FillIn(const wchar_t* pattern, const std::vector<std::wstring>& args);
