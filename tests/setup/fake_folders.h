// An in-memory file system for the setup's decisions: files by full path; a "loaded" file (a DLL
// that a program has loaded) can be renamed but not deleted; any changing call can fail.
#pragma once

#include <map>
#include <set>

#include "file_store.h"
#include "setup_names.h"

class FakeFolders : public FileStore {
public:
    std::map<std::wstring, FileBytes> files;
    std::set<std::wstring> loaded;
    uint32_t writableError = 0;
    int failingChange = -1;  // the index of the changing call that fails
    int changes = 0;         // changing calls so far (Rename, Create, Delete)

    std::wstring LongFullPath(const std::wstring& path) override { return path; }
    uint32_t Kind(const std::wstring& path, PathKind& kind) override
    {
        kind = files.count(path) ? PathKind::File : PathKind::Missing;
        for (const auto& file : files) {
            if (file.first.compare(0, path.size() + 1, path + L"\\") == 0) kind = PathKind::Folder;
        }
        return kind == PathKind::Missing ? ErrorFileNotFound : 0;
    }
    uint32_t Read(const std::wstring& path, FileBytes& bytes) override
    {
        if (!files.count(path)) return ErrorFileNotFound;
        bytes = files[path];
        return 0;
    }
    uint32_t List(const std::wstring& folder, std::vector<std::wstring>& names) override
    {
        for (const auto& file : files) {
            if (FolderOf(file.first) == folder) names.push_back(FileNameOf(file.first));
        }
        return 0;
    }
    uint32_t CheckWritable(const std::wstring&) override { return writableError; }
    uint32_t Rename(const std::wstring& from, const std::wstring& to) override
    {
        if (const uint32_t error = Change()) return error;
        if (!files.count(from)) return ErrorFileNotFound;
        if (files.count(to)) return ErrorAlreadyExists;
        files[to] = files[from];
        files.erase(from);
        if (loaded.erase(from)) loaded.insert(to);
        return 0;
    }
    uint32_t Create(const std::wstring& path, const FileBytes& bytes) override
    {
        if (const uint32_t error = Change()) return error;
        if (files.count(path)) return ErrorFileExists;
        files[path] = bytes;
        return 0;
    }
    uint32_t Delete(const std::wstring& path) override
    {
        if (const uint32_t error = Change()) return error;
        if (loaded.count(path)) return ErrorAccessDenied;
        return files.erase(path) ? 0 : ErrorFileNotFound;
    }

private:
    uint32_t Change() { return changes++ == failingChange ? 1117 : 0; }  // an I/O error
};
