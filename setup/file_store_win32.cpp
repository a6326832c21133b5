#include "file_store_win32.h"

#include <windows.h>

#include <string.h>

#include <algorithm>

#include "last_error_win32.h"
#include "leftover_files.h"
#include "setup_names.h"

namespace {

// Larger files are no tuner drivers or settings; reading them whole would only waste memory.
constexpr LONGLONG MaxFileBytes = 256LL << 20;

typedef DWORD(WINAPI* PathCall)(const wchar_t* path, wchar_t* out, DWORD size);

// A path call that may need a buffer longer than MAX_PATH; empty when it fails.
std::wstring Call(PathCall call, const std::wstring& path)
{
    std::wstring out(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(path.c_str(), &out[0], DWORD(out.size()));
        if (length == 0) return std::wstring();
        if (length < out.size()) return out.substr(0, length);
        out.resize(length);
    }
}

DWORD WINAPI FullPathName(const wchar_t* path, wchar_t* out, DWORD size)
{
    return GetFullPathNameW(path, size, out, nullptr);
}

uint32_t WriteAll(HANDLE file, const FileBytes& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return LastErrorCode();
        done += written;
    }
    return FlushFileBuffers(file) ? 0 : LastErrorCode();
}

// A new file of this program in `folder`, under a name no other file has. (GetTempFileNameW is
// no help: under Wine it reports success in a folder where it cannot create the file.)
HANDLE CreateUniqueFile(const std::wstring& folder, DWORD access, DWORD flags)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    for (DWORD attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        const std::wstring name = TemporaryFileName(GetCurrentProcessId() * 100 + attempt);
        file = CreateFileW((folder + L"\\" + name).c_str(), access, 0, nullptr, CREATE_NEW, flags,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return file;
}

// Renames an open file that was opened with DELETE access.
uint32_t RenameOpenFile(HANDLE file, const std::wstring& to, bool replace)
{
    const size_t nameBytes = to.size() * sizeof(wchar_t);
    std::vector<uint8_t> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace;
    info->FileNameLength = DWORD(nameBytes);
    memcpy(info->FileName, to.data(), nameBytes);
    return SetFileInformationByHandle(file, FileRenameInfo, info, DWORD(buffer.size()))
               ? 0
               : LastErrorCode();
}

// Written beside its target under a name of its own and renamed while still open: a crash or a
// full disk never leaves a part of a file under the target's name, and no other program can
// open or remove the file meanwhile. Attributes survive the rename, so the file is made with
// the normal ones.
uint32_t WriteInPlace(const std::wstring& path, const FileBytes& bytes, bool replace)
{
    const HANDLE file =
        CreateUniqueFile(FolderOf(path), GENERIC_WRITE | DELETE, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return LastErrorCode();
    uint32_t error = WriteAll(file, bytes);
    if (!error) error = RenameOpenFile(file, path, replace);
    if (error) {
        FILE_DISPOSITION_INFO dispose = {TRUE};
        SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
    }
    CloseHandle(file);
    return error;
}

}  // namespace

std::wstring Win32FileStore::LongFullPath(const std::wstring& path)
{
    const std::wstring full = Call(FullPathName, path);
    if (full.empty()) return path;
    const std::wstring longPath = Call(GetLongPathNameW, full);
    if (!longPath.empty()) return longPath;
    // A file that does not exist (yet) keeps its name; its folder gets the long form.
    const std::wstring folder = Call(GetLongPathNameW, FolderOf(full));
    return folder.empty() ? full : folder + L"\\" + FileNameOf(full);
}

uint32_t Win32FileStore::Kind(const std::wstring& path, PathKind& kind)
{
    kind = PathKind::Missing;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrorCode();
    kind = attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::File;
    return 0;
}

uint32_t Win32FileStore::Read(const std::wstring& path, FileBytes& bytes)
{
    bytes.clear();
    // A program that has loaded the file lets others read it, but only beside its own sharing.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorCode();
    LARGE_INTEGER size{};
    uint32_t error = GetFileSizeEx(file, &size) ? 0 : LastErrorCode();
    if (!error && size.QuadPart > MaxFileBytes) error = ERROR_FILE_TOO_LARGE;
    if (!error) bytes.resize(size_t(size.QuadPart));
    for (size_t done = 0; !error && done < bytes.size();) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr)) {
            error = LastErrorCode();
        } else if (got == 0) {
            bytes.resize(done);  // it shrank meanwhile
        }
        done += got;
    }
    CloseHandle(file);
    if (error) bytes.clear();
    return error;
}

uint32_t Win32FileStore::List(const std::wstring& folder, std::vector<std::wstring>& names)
{
    names.clear();
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastErrorCode();
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    const uint32_t error = GetLastError() == ERROR_NO_MORE_FILES ? 0 : LastErrorCode();
    FindClose(search);
    return error;
}

uint32_t Win32FileStore::CheckWritable(const std::wstring& folder)
{
    const HANDLE file = CreateUniqueFile(folder, GENERIC_WRITE,
                                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
    if (file == INVALID_HANDLE_VALUE) return LastErrorCode();
    CloseHandle(file);
    return 0;
}

uint32_t Win32FileStore::Rename(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : LastErrorCode();
}

uint32_t Win32FileStore::Create(const std::wstring& path, const FileBytes& bytes)
{
    return WriteInPlace(path, bytes, false);
}

uint32_t Win32FileStore::Replace(const std::wstring& path, const FileBytes& bytes)
{
    return WriteInPlace(path, bytes, true);
}

uint32_t Win32FileStore::Delete(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) ? 0 : LastErrorCode();
}

uint32_t Win32FileStore::OpenForWriting(const std::wstring& path, bool& readOnly)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    // A program's own sharing, or a loaded image, refuses this with a sharing violation.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorCode();
    CloseHandle(file);
    return 0;
}
