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
        const auto next = files.lower_bound(path + L"\\");
        const bool folder = next != files.end() && next->first.rfind(path + L"\\", 0) == 0;
        kind = files.count(path) ? PathKind::File : folder ? PathKind::Folder : PathKind::Missing;
        return kind == PathKind::Missing ? ErrorFileNotFound : 0;
    }
    uint32_t Read(const std::wstring& path, FileBytes& bytes) override
    {
        return files.count(path) ? (bytes = files[path], 0) : ErrorFileNotFound;
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
        if (Fails() || !files.count(from) || files.count(to)) return 1117;
        files[to] = files[from];
        files.erase(from);
        if (loaded.erase(from)) loaded.insert(to);
        return 0;
    }
    uint32_t Create(const std::wstring& path, const FileBytes& bytes) override
    {
        return Fails() || !files.insert({path, bytes}).second ? 1117 : 0;
    }
    uint32_t Delete(const std::wstring& path) override
    {
        if (Fails()) return 1117;  // an I/O error
        return loaded.count(path) ? ErrorAccessDenied : files.erase(path) ? 0 : 1117;
    }

private:
    bool Fails() { return changes++ == failingChange; }
};
