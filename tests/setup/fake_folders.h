// An in-memory file system for the setup's decisions: files by full path; a "loaded" file (a DLL
// that a program has loaded) and a read-only one can be renamed but not deleted or replaced, a
// "denied" one (a deny entry) not even renamed; any changing call can fail.
#pragma once

#include <map>
#include <set>

#include "file_store.h"
#include "setup_names.h"

class FakeFolders : public FileStore {
public:
    std::map<std::wstring, FileBytes> files;
    std::set<std::wstring> loaded, readOnly, denied;
    std::map<std::wstring, uint32_t> readErrors;  // files that cannot be read
    uint32_t writableError = 0;
    int failingChange = -1;  // the index of the changing call that fails
    int changes = 0;         // changing calls so far (Rename, Create, Replace, Delete)

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
        if (readErrors.count(path)) return readErrors[path];
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
        if (Fails() || !files.count(from) || files.count(to)) return 1117;  // an I/O error
        if (denied.count(from)) return ErrorAccessDenied;
        files[to] = files[from];
        files.erase(from);
        if (loaded.erase(from)) loaded.insert(to);
        return 0;
    }
    uint32_t Create(const std::wstring& path, const FileBytes& bytes) override
    {
        return Fails() || !files.insert({path, bytes}).second ? 1117 : 0;
    }
    uint32_t Replace(const std::wstring& path, const FileBytes& bytes) override
    {
        return Fails() ? 1117 : Unchangeable(path) ? ErrorAccessDenied : (files[path] = bytes, 0);
    }
    uint32_t Delete(const std::wstring& path) override
    {
        if (Fails()) return 1117;
        return Unchangeable(path) ? ErrorAccessDenied : files.erase(path) ? 0 : 1117;
    }
    uint32_t OpenForWriting(const std::wstring& path, bool& isReadOnly) override
    {
        isReadOnly = readOnly.count(path) != 0;
        if (isReadOnly || denied.count(path)) return ErrorAccessDenied;
        return loaded.count(path) ? ErrorSharingViolation : 0;
    }

private:
    bool Fails() { return changes++ == failingChange; }
    bool Unchangeable(const std::wstring& p)
    {
        return loaded.count(p) + readOnly.count(p) + denied.count(p) != 0;
    }
};
