// A text value of the registry, which other programs may have written: only a string type
// counts, and its length is bounded.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>

// The value as stored (not expanded); 0 or the error (ERROR_FILE_NOT_FOUND when it is missing,
// ERROR_INVALID_DATA when it is no string).
uint32_t ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& text);

// `text` with its %VARIABLES% expanded; `text` itself when that fails.
std::wstring Expanded(const std::wstring& text);
