// The names around one wrapped driver, derived from the driver's long path as the wrapper
// derives them from its own: BonDriver_X.dll, BonDriver_X_Quellapped.dl_, BonDriver_X.ini and
// BonDriver_X_Quellapped.ini.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "wrapper_files.h"

std::wstring FolderOf(const std::wstring& path);     // without the final backslash
std::wstring FileNameOf(const std::wstring& path);
std::wstring WithoutExtension(const std::wstring& path);
std::wstring WrappedDriverPath(const std::wstring& driverPath);
std::wstring SettingsPath(const std::wstring& driverPath);
std::wstring CopiedSettingsPath(const std::wstring& driverPath);

bool EndsWithNoCase(const std::wstring& text, const std::wstring& ending);
bool EqualNoCase(const std::wstring& a, const std::wstring& b);
bool IsWrappedDriverName(const std::wstring& path);
// The driver's own name for a path that names its renamed file (as a dropped file may).
std::wstring DriverPathOfArgument(const std::wstring& path);

// Whether `path` is `folder` or lies inside it.
bool IsInside(const std::wstring& path, const std::wstring& folder);
// The folders that hold the full path `path`, nearest first; the last is its root, "C:\\" or
// "\\\\server\\share\\".
std::vector<std::wstring> FoldersAbove(const std::wstring& path);
