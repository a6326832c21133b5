// A change of several files made all or nothing: each step that succeeds is remembered with its
// undoing, and after a failed step the done ones are undone, newest first.
#pragma once

#include "file_store.h"

struct FileStep {
    enum Kind { Rename, Create, Replace, Delete } kind;
    std::wstring path;
    std::wstring to;     // Rename's new name
    FileBytes bytes;     // what Create and Replace write
    FileBytes previous;  // what undoing Replace or Delete writes back
    uint32_t error;      // 0 until the step fails
};

class FileChange {
public:
    explicit FileChange(FileStore& store) : Store(store) {}

    // Each does nothing and returns false once a step has failed. `previous` is the file's
    // content, written back if the change is undone.
    bool Rename(const std::wstring& from, const std::wstring& to);
    bool Create(const std::wstring& path, const FileBytes& bytes);
    bool Replace(const std::wstring& path, const FileBytes& bytes, const FileBytes& previous);
    bool Delete(const std::wstring& path, const FileBytes& previous);

    bool Failed() const { return Failure.error != 0; }
    const FileStep& FailedStep() const { return Failure; }

    // Undoes every done step; false when one cannot be undone (UndoFailure tells which).
    bool PutBack();
    const FileStep& UndoFailure() const { return UndoFailed; }

private:
    bool Run(FileStep step);
    uint32_t Perform(const FileStep& step);

    FileStore& Store;
    std::vector<FileStep> Done;
    FileStep Failure{};
    FileStep UndoFailed{};
};
