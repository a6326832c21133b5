#include <windows.h>

#include <sddl.h>

#include <vector>

#include "probe_facts_win32.h"

namespace {

// GetTokenInformation into a buffer of the size it asks for.
bool TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, std::vector<BYTE>& data)
{
    DWORD size = 0;
    GetTokenInformation(token, kind, NULL, 0, &size);
    if (size == 0) return false;
    data.resize(size);
    return GetTokenInformation(token, kind, data.data(), size, &size) != FALSE;
}

std::wstring SidText(PSID sid)
{
    LPWSTR text = NULL;
    if (!ConvertSidToStringSidW(sid, &text)) return L"?";
    std::wstring copy(text);
    LocalFree(text);
    return copy;
}

// DOMAIN\name; empty for an account without a name.
std::wstring AccountName(PSID sid)
{
    WCHAR name[256], domain[256];
    DWORD nameSize = 256, domainSize = 256;
    SID_NAME_USE use;
    if (!LookupAccountSidW(NULL, sid, name, &nameSize, domain, &domainSize, &use)) return L"";
    return domain[0] == 0 ? std::wstring(name) : std::wstring(domain) + L"\\" + name;
}

// Each part of the token; the name of the call that failed, or null.
const wchar_t* ReadUser(HANDLE token, TokenFacts& facts)
{
    std::vector<BYTE> data;
    if (!TokenInformation(token, TokenUser, data)) return L"GetTokenInformation(TokenUser)";
    const PSID sid = reinterpret_cast<TOKEN_USER*>(data.data())->User.Sid;
    facts.sid = SidText(sid);
    facts.user = AccountName(sid);
    return nullptr;
}

const wchar_t* ReadElevation(HANDLE token, TokenFacts& facts)
{
    TOKEN_ELEVATION elevation{};
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) {
        return L"GetTokenInformation(TokenElevation)";
    }
    if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) {
        return L"GetTokenInformation(TokenElevationType)";
    }
    facts.elevated = elevation.TokenIsElevated != 0;
    facts.elevationType = static_cast<uint32_t>(type);
    return nullptr;
}

const wchar_t* ReadIntegrity(HANDLE token, TokenFacts& facts)
{
    std::vector<BYTE> data;
    if (!TokenInformation(token, TokenIntegrityLevel, data)) {
        return L"GetTokenInformation(TokenIntegrityLevel)";
    }
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(data.data())->Label.Sid;
    // The level is the label's last sub-authority; a label without one has no level to show.
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    if (count == 0) return L"GetSidSubAuthorityCount";
    facts.integrityRid = *GetSidSubAuthority(sid, count - 1);
    return nullptr;
}

const wchar_t* ReadPrivilege(HANDLE token, TokenFacts& facts)
{
    LUID wanted;
    if (!LookupPrivilegeValueW(NULL, SE_SYSTEMTIME_NAME, &wanted)) return L"LookupPrivilegeValueW";
    std::vector<BYTE> data;
    if (!TokenInformation(token, TokenPrivileges, data)) {
        return L"GetTokenInformation(TokenPrivileges)";
    }
    const TOKEN_PRIVILEGES* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(data.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& held = privileges->Privileges[i];
        if (held.Luid.LowPart != wanted.LowPart || held.Luid.HighPart != wanted.HighPart) continue;
        facts.privilegePresent = true;
        facts.privilegeEnabled = (held.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return nullptr;
}

}  // namespace

void ReadTokenFacts(TokenFacts& facts)
{
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        facts.failure = {L"OpenProcessToken", GetLastError()};
        return;
    }
    const wchar_t* failed = ReadUser(token, facts);
    if (failed == nullptr) failed = ReadElevation(token, facts);
    if (failed == nullptr) failed = ReadIntegrity(token, facts);
    if (failed == nullptr) failed = ReadPrivilege(token, facts);
    if (failed != nullptr) facts.failure = {failed, GetLastError()};
    CloseHandle(token);
}
