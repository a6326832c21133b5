#include "file_security.h"

#include "setup_names.h"

namespace {

const wchar_t* const TrustedSids[] = {
    L"S-1-5-18",      // SYSTEM
    L"S-1-5-32-544",  // Administrators
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // TrustedInstaller
};

bool IsTrustedSid(const std::wstring& sid, const std::wstring& installer)
{
    if (!sid.empty() && EqualNoCase(sid, installer)) return true;
    for (const wchar_t* trusted : TrustedSids) {
        if (EqualNoCase(sid, trusted)) return true;
    }
    return false;
}

// Rights that change the object, or its list and owner and so everything else. Above the
// folder, writing is harmless but moving is not: a user who can rename a folder on the way
// can put a folder of their own, with a program of their own, in its place.
uint32_t RightsThatMatter(SecurityPlace place)
{
    const uint32_t always = RightDeleteChild | RightWriteDac | RightWriteOwner | RightGenericAll;
    switch (place) {
    case SecurityPlace::Item:
        return always | RightWriteData | RightAppendData | RightDelete | RightGenericWrite;
    case SecurityPlace::Ancestor: return always | RightDelete;
    case SecurityPlace::Root: break;
    }
    return always;
}

}  // namespace

// Entries that deny are not weighed: whether one outweighs an allowing entry depends on the
// order and on group memberships no file shows, and refusing is the safe side.
bool OtherWriter(const FileSecurity& security, SecurityPlace place, const std::wstring& installer,
                 std::wstring& writer)
{
    writer = security.nullDacl ? EveryoneSid : security.owner;
    if (security.nullDacl || !IsTrustedSid(security.owner, installer)) return true;
    writer.clear();
    for (const AccessEntry& entry : security.allowed) {
        if (entry.inheritOnly || (entry.mask & RightsThatMatter(place)) == 0) continue;
        if (IsTrustedSid(entry.sid, installer)) continue;
        writer = entry.sid;
        return true;
    }
    return false;
}
