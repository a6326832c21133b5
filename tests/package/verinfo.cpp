// verinfo: prints each Windows image's machine and version resource, one line per file:
//   FILE: machine=i386|amd64 version=A.B.C.D product=A.B.C.D FileVersion=... ProductVersion=...
//         OriginalFilename=... FileDescription=...
// Exit status 1 when a file has no version resource or cannot be read.
#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace {

const char* MachineOf(const wchar_t* path)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "unreadable";
    IMAGE_DOS_HEADER dos = {};
    IMAGE_FILE_HEADER header = {};
    DWORD got = 0, signature = 0;
    const bool read = ReadFile(file, &dos, sizeof dos, &got, NULL) &&
                      SetFilePointer(file, dos.e_lfanew, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                      ReadFile(file, &signature, sizeof signature, &got, NULL) &&
                      ReadFile(file, &header, sizeof header, &got, NULL);
    CloseHandle(file);
    if (!read || signature != IMAGE_NT_SIGNATURE) return "none";
    switch (header.Machine) {
    case IMAGE_FILE_MACHINE_I386: return "i386";
    case IMAGE_FILE_MACHINE_AMD64: return "amd64";
    default: return "other";
    }
}

std::string Text(const std::vector<BYTE>& block, const wchar_t* name)
{
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = NULL;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return "";
    char out[512];
    const int size = WideCharToMultiByte(CP_UTF8, 0, static_cast<wchar_t*>(value), -1, out,
                                         sizeof out, NULL, NULL);
    return size > 0 ? out : "";
}

bool PrintVersion(const wchar_t* path)
{
    printf("%ls: machine=%s", path, MachineOf(path));
    const DWORD size = GetFileVersionInfoSizeW(path, NULL);
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        printf(" no version\n");
        return false;
    }
    printf(" version=%lu.%lu.%lu.%lu product=%lu.%lu.%lu.%lu", HIWORD(fixed->dwFileVersionMS),
           LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
           LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
           LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
           LOWORD(fixed->dwProductVersionLS));
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"OriginalFilename",
                                L"FileDescription"}) {
        printf(" %ls=%s", name, Text(block, name).c_str());
    }
    printf("\n");
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bool all = argc > 1;
    for (int i = 1; i < argc; ++i) all = PrintVersion(argv[i]) && all;
    return all ? 0 : 1;
}
