#include "file_change.h"

bool FileChange::Rename(const std::wstring& from, const std::wstring& to)
{
    return Run(FileStep{FileStep::Rename, from, to, {}, {}, 0});
}

bool FileChange::Create(const std::wstring& path, const FileBytes& bytes)
{
    return Run(FileStep{FileStep::Create, path, {}, bytes, {}, 0});
}

bool FileChange::Replace(const std::wstring& path, const FileBytes& bytes,
                         const FileBytes& previous)
{
    return Run(FileStep{FileStep::Replace, path, {}, bytes, previous, 0});
}

bool FileChange::Delete(const std::wstring& path, const FileBytes& previous)
{
    return Run(FileStep{FileStep::Delete, path, {}, {}, previous, 0});
}

uint32_t FileChange::Perform(const FileStep& step)
{
    switch (step.kind) {
    case FileStep::Rename: return Store.Rename(step.path, step.to);
    case FileStep::Create: return Store.Create(step.path, step.bytes);
    case FileStep::Replace: return Store.Replace(step.path, step.bytes);
    case FileStep::Delete: return Store.Delete(step.path);
    }
    return 0;
}

bool FileChange::Run(FileStep step)
{
    if (Failed()) return false;
    step.error = Perform(step);
    if (step.error != 0) {
        Failure = std::move(step);
        return false;
    }
    Done.push_back(std::move(step));
    return true;
}

bool FileChange::PutBack()
{
    while (!Done.empty()) {
        const FileStep& done = Done.back();
        FileStep undo{FileStep::Rename, done.to, done.path, {}, {}, 0};
        if (done.kind == FileStep::Create) undo = {FileStep::Delete, done.path, {}, {}, {}, 0};
        if (done.kind == FileStep::Replace) {
            undo = {FileStep::Replace, done.path, {}, done.previous, {}, 0};
        }
        if (done.kind == FileStep::Delete) {
            undo = {FileStep::Create, done.path, {}, done.previous, {}, 0};
        }
        undo.error = Perform(undo);
        if (undo.error != 0) {
            UndoFailed = std::move(undo);
            return false;
        }
        Done.pop_back();
    }
    return true;
}
