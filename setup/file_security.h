// Who could change a file or folder, read from its owner and access control list: the rule that
// keeps QuellapSetup from registering a service program, or settings, that a user could
// replace. The security descriptor is modelled apart from Windows so that the rule runs natively.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// Access rights of an entry, as winnt.h has them.
enum : uint32_t {
    RightWriteData = 0x2,     // a folder: add a file
    RightAppendData = 0x4,    // a folder: add a subfolder
    RightDeleteChild = 0x40,  // a folder: delete or rename anything in it
    RightDelete = 0x10000,
    RightWriteDac = 0x40000,
    RightWriteOwner = 0x80000,
    RightGenericAll = 0x10000000,
    RightGenericWrite = 0x40000000,
};

struct AccessEntry {
    std::wstring sid;  // "S-1-..."; empty for an entry whose principal could not be read
    uint32_t mask;
    bool inheritOnly;  // passed on to what the folder holds; grants nothing on the folder itself
};

struct FileSecurity {
    std::wstring owner;  // "S-1-..."
    bool nullDacl = false;  // no list at all: everyone may do everything
    std::vector<AccessEntry> allowed;  // the entries that allow; those that deny are left out
};

// Where an object stands on the way to the program, which decides the rights that matter.
enum class SecurityPlace {
    Item,      // the program, its settings file or its folder: nobody else may write to it
    Ancestor,  // a folder above: nobody else may move it or anything it holds
    Root,      // a drive's root, which cannot be moved itself
};

inline constexpr wchar_t EveryoneSid[] = L"S-1-1-0";

// Whether a principal other than SYSTEM, Administrators, TrustedInstaller and `installer` (the
// installing administrator's SID) owns the object or may change it as it stands at `place`;
// `writer` is then its SID (empty when it could not be read).
bool OtherWriter(const FileSecurity& security, SecurityPlace place, const std::wstring& installer,
                 std::wstring& writer);
