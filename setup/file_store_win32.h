// The file operations on Windows.
#pragma once

#include "file_store.h"

class Win32FileStore : public FileStore {
public:
    std::wstring LongFullPath(const std::wstring& path) override;
    uint32_t Kind(const std::wstring& path, PathKind& kind) override;
    uint32_t Read(const std::wstring& path, FileBytes& bytes) override;
    uint32_t List(const std::wstring& folder, std::vector<std::wstring>& names) override;
    uint32_t CheckWritable(const std::wstring& folder) override;
    uint32_t Rename(const std::wstring& from, const std::wstring& to) override;
    uint32_t Create(const std::wstring& path, const FileBytes& bytes) override;
    uint32_t Replace(const std::wstring& path, const FileBytes& bytes) override;
    uint32_t Delete(const std::wstring& path) override;
    uint32_t OpenForWriting(const std::wstring& path, bool& readOnly) override;
};
