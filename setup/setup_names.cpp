#include "setup_names.h"

namespace {

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

// Characters of the root of a full path, its last backslash included; 0 when there is none.
size_t RootLength(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return 3;
    if (path.compare(0, 2, L"\\\\") != 0) return 0;
    const size_t share = path.find(L'\\', 2);
    const size_t end = share == std::wstring::npos ? share : path.find(L'\\', share + 1);
    return end == std::wstring::npos ? 0 : end + 1;
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

bool IsInside(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty() || path.size() < folder.size()) return false;
    const bool sameStart = EqualNoCase(path.substr(0, folder.size()), folder);
    return sameStart && (path.size() == folder.size() || folder.back() == L'\\' ||
                         path[folder.size()] == L'\\');
}

std::vector<std::wstring> FoldersAbove(const std::wstring& path)
{
    std::vector<std::wstring> folders;
    const size_t root = RootLength(path);
    if (root == 0) return folders;
    // The root's backslash stops the search, so `end - 1` never wraps.
    for (size_t end = path.find_last_of(L'\\'); end != std::wstring::npos && end >= root;
         end = path.find_last_of(L'\\', end - 1)) {
        folders.push_back(path.substr(0, end));
    }
    folders.push_back(path.substr(0, root));
    return folders;
}
