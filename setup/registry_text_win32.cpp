#include "registry_text_win32.h"

namespace {

constexpr DWORD MaxTextBytes = 32768 * sizeof(wchar_t);

}  // namespace

uint32_t ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& text)
{
    text.clear();
    HKEY opened = nullptr;
    LONG error = RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened);
    if (error != ERROR_SUCCESS) return uint32_t(error);
    std::wstring value(MaxTextBytes / sizeof(wchar_t), L'\0');
    DWORD type = 0, bytes = MaxTextBytes;
    error = RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]),
                             &bytes);
    RegCloseKey(opened);
    if (error != ERROR_SUCCESS) return uint32_t(error);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    // Stored strings need not end in a NUL, and may hold one early.
    value.resize(bytes / sizeof(wchar_t));
    text = value.substr(0, value.find(L'\0'));
    return 0;
}

std::wstring Expanded(const std::wstring& text)
{
    std::wstring expanded(MaxTextBytes / sizeof(wchar_t), L'\0');
    const DWORD length =
        ExpandEnvironmentStringsW(text.c_str(), &expanded[0], DWORD(expanded.size()));
    if (length == 0 || length > expanded.size()) return text;
    expanded.resize(length - 1);
    return expanded;
}
