#include "setup_names.h"

namespace {

const wchar_t WrappedSuffix[] = L"_Quellapped.dl_";

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

size_t NameStart(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

}  // namespace

std::wstring FolderOf(const std::wstring& path)
{
    const size_t start = NameStart(path);
    return start == 0 ? std::wstring(L".") : path.substr(0, start - 1);
}

std::wstring FileNameOf(const std::wstring& path)
{
    return path.substr(NameStart(path));
}

// As PathRemoveExtensionW: from the name's last dot on.
std::wstring WithoutExtension(const std::wstring& path)
{
    const size_t dot = path.find_last_of(L'.');
    return dot == std::wstring::npos || dot < NameStart(path) ? path : path.substr(0, dot);
}

std::wstring WrappedDriverPath(const std::wstring& driverPath)
{
    return WithoutExtension(driverPath) + WrappedSuffix;
}

std::wstring SettingsPath(const std::wstring& driverPath)
{
    return WithoutExtension(driverPath) + L".ini";
}

std::wstring CopiedSettingsPath(const std::wstring& driverPath)
{
    return WithoutExtension(driverPath) + L"_Quellapped.ini";
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
    return EndsWithNoCase(path, WrappedSuffix);
}

std::wstring DriverPathOfArgument(const std::wstring& path)
{
    if (!IsWrappedDriverName(path)) return path;
    return path.substr(0, path.size() - (sizeof WrappedSuffix / sizeof *WrappedSuffix - 1)) +
           L".dll";
}
