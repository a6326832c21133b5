#include "file_security_win32.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "last_error_win32.h"

namespace {

std::wstring SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &text)) return std::wstring();
    const std::wstring result(text);
    LocalFree(text);
    return result;
}

// Denying entries are left out (see OtherWriter). An allowing entry of a kind that files do not
// use (one for objects of a directory service, say) is not read: it counts as everyone's full
// control.
void AddEntry(ACE_HEADER* header, FileSecurity& security)
{
    const bool inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
    switch (header->AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
        // Both keep the mask and then the SID.
        ACCESS_ALLOWED_ACE* entry = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        security.allowed.push_back({SidText(&entry->SidStart), entry->Mask, inheritOnly});
        return;
    }
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: return;
    default: security.allowed.push_back({EveryoneSid, RightGenericAll, inheritOnly});
    }
}

}  // namespace

uint32_t ReadFinalPath(const std::wstring& path, std::wstring& final)
{
    final.clear();
    // Folders open only with backup semantics; nothing is read or written.
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorCode();
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetFinalPathNameByHandleW(file, &buffer[0], DWORD(buffer.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)) >=
           buffer.size()) {
        buffer.resize(length);
    }
    const uint32_t error = length == 0 ? LastErrorCode() : 0;
    CloseHandle(file);
    if (error) return error;
    buffer.resize(length);
    // "\\?\C:\..." and "\\?\UNC\server\share\...", as paths are written on a command line.
    if (buffer.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        final = L"\\\\" + buffer.substr(8);
    } else {
        final = buffer.compare(0, 4, L"\\\\?\\") == 0 ? buffer.substr(4) : buffer;
    }
    return 0;
}

uint32_t ReadFileSecurity(const std::wstring& path, FileSecurity& security)
{
    security = FileSecurity{};
    PSID owner = nullptr;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetNamedSecurityInfoW(
        path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        &owner, nullptr, &list, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return error;
    security.owner = SidText(owner);
    security.nullDacl = list == nullptr;
    for (DWORD i = 0; list != nullptr && i < list->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (GetAce(list, i, reinterpret_cast<void**>(&header))) AddEntry(header, security);
    }
    LocalFree(descriptor);
    return 0;
}

std::wstring AccountNameOf(const std::wstring& sidText)
{
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(sidText.c_str(), &sid)) return sidText;
    wchar_t name[256], domain[256];
    DWORD nameLength = 256, domainLength = 256;
    SID_NAME_USE use;
    std::wstring account = sidText;
    if (LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) {
        account = domainLength > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name);
    }
    LocalFree(sid);
    return account;
}

std::wstring ProcessUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::wstring();
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD length = 0;
    const bool read = GetTokenInformation(token, TokenUser, &buffer, sizeof buffer, &length);
    CloseHandle(token);
    return read ? SidText(buffer.user.User.Sid) : std::wstring();
}
