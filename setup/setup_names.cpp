#include "setup_names.h"

namespace {

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

}  // namespace

std::wstring FolderOf(const std::wstring& path)
{
    const size_t start = FileNameStart(path.c_str());
    return start == 0 ? std::wstring(L".") : path.substr(0, start - 1);
}

std::wstring FileNameOf(const std::wstring& path)
{
    return path.substr(FileNameStart(path.c_str()));
}

std::wstring WithoutExtension(const std::wstring& path)
{
    return path.substr(0, StemLength(path.c_str()));
}

std::wstring WrappedDriverPath(const std::wstring& driverPath)
{
    return WithoutExtension(driverPath) + WrappedDriverSuffix;
}

std::wstring SettingsPath(const std::wstring& driverPath)
{
    return WithoutExtension(driverPath) + SettingsExtension;
}

std::wstring CopiedSettingsPath(const std::wstring& driverPath)
{
    return WithoutExtension(driverPath) + CopiedSettingsSuffix;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& ending)
{
    return text.size() >= ending.size() &&
           EqualNoCase(text.substr(text.size() - ending.size()), ending);
}

bool IsWrappedDriverName(const std::wstring& path)
{
    return EndsWithNoCase(path, WrappedDriverSuffix);
}

std::wstring DriverPathOfArgument(const std::wstring& path)
{
    if (!IsWrappedDriverName(path)) return path;
    const size_t suffixLength = sizeof WrappedDriverSuffix / sizeof *WrappedDriverSuffix - 1;
    return path.substr(0, path.size() - suffixLength) + L".dll";
}
