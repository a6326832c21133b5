// The file operations QuellapSetup makes; on Windows the Win32 calls (file_store_win32.cpp), in
// the tests an in-memory folder that can fail any call. Each returns 0 or the system's error
// code (as GetLastError gives it).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

typedef std::vector<uint8_t> FileBytes;

enum class PathKind { Missing, File, Folder };

// Error codes that the decisions tell apart.
constexpr uint32_t ErrorFileNotFound = 2;
constexpr uint32_t ErrorPathNotFound = 3;
constexpr uint32_t ErrorAccessDenied = 5;
constexpr uint32_t ErrorSharingViolation = 32;
constexpr uint32_t ErrorLockViolation = 33;
constexpr uint32_t ErrorFileExists = 80;
constexpr uint32_t ErrorAlreadyExists = 183;

class FileStore {
public:
    // The full path with every part in its long form (the wrapper derives its driver's name from
    // its long path); a missing last part is kept as given.
    virtual std::wstring LongFullPath(const std::wstring& path) = 0;
    virtual uint32_t Kind(const std::wstring& path, PathKind& kind) = 0;
    virtual uint32_t Read(const std::wstring& path, FileBytes& bytes) = 0;
    // The names of the files (not folders) in `folder`.
    virtual uint32_t List(const std::wstring& folder, std::vector<std::wstring>& names) = 0;
    // Whether a new file can be made in `folder` (none is left behind).
    virtual uint32_t CheckWritable(const std::wstring& folder) = 0;
    // Never replaces an existing `to`.
    virtual uint32_t Rename(const std::wstring& from, const std::wstring& to) = 0;
    // A new file that appears whole or not at all; never replaces an existing one.
    virtual uint32_t Create(const std::wstring& path, const FileBytes& bytes) = 0;
    // A whole new file in place of the existing `path` at once: `path` never goes missing.
    virtual uint32_t Replace(const std::wstring& path, const FileBytes& bytes) = 0;
    virtual uint32_t Delete(const std::wstring& path) = 0;
    // What tells why a change of `path` was denied: its read-only attribute, and the error of
    // opening it for writing (0 when it opens; nothing is written).
    virtual uint32_t OpenForWriting(const std::wstring& path, bool& readOnly) = 0;

protected:
    ~FileStore() = default;
};
