// Programs of the build trees as Windows programs under Wine see them: Wine shows the Linux file
// system as drive Z:.
#pragma once

#include <string>

inline std::wstring WindowsPathOfUnix(const std::wstring& path)
{
    std::wstring windowsPath = L"Z:" + path;
    for (wchar_t& c : windowsPath) {
        if (c == L'/') c = L'\\';
    }
    return windowsPath;
}
