#include "user_profiles_win32.h"

#include <windows.h>

#include <userenv.h>

#include "file_security_win32.h"
#include "registry_text_win32.h"

// The folder of all profiles and every profile listed, each also where it really lies (a
// profile may be a junction to another drive).
std::vector<std::wstring> UserProfileFolders()
{
    std::vector<std::wstring> listed, folders;
    wchar_t all[MAX_PATH];
    DWORD length = MAX_PATH;
    if (GetProfilesDirectoryW(all, &length)) listed.push_back(all);
    const wchar_t profileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, profileList, 0, KEY_READ | KEY_WOW64_64KEY, &key) ==
        ERROR_SUCCESS) {
        wchar_t sid[256];
        for (DWORD i = 0, size = 256; RegEnumKeyExW(key, i, sid, &size, nullptr, nullptr, nullptr,
                                                    nullptr) == ERROR_SUCCESS;
             ++i, size = 256) {
            std::wstring path;
            const std::wstring profile = std::wstring(profileList) + L"\\" + sid;
            if (!ReadRegistryText(HKEY_LOCAL_MACHINE, profile.c_str(), L"ProfileImagePath", path)) {
                listed.push_back(Expanded(path));
            }
        }
        RegCloseKey(key);
    }
    for (const std::wstring& folder : listed) {
        std::wstring final;
        folders.push_back(folder);
        if (ReadFinalPath(folder, final) == 0) folders.push_back(final);
    }
    return folders;
}
