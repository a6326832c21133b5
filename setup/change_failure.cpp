#include "change_failure.h"

#include "setup_names.h"
#include "slot_status.h"

namespace {

bool IsSharingError(uint32_t error)
{
    return error == ErrorSharingViolation || error == ErrorLockViolation;
}

// The cause of a denied rename, replace or delete, told apart as Windows shows it: a loaded
// DLL, a read-only file and a deny entry all give "access denied" on delete, but only a loaded
// or open file refuses an open for writing with a sharing violation. Count: no such cause.
Message DenialOf(FileStore& store, const FileStep& step)
{
    if (IsSharingError(step.error)) return Message::RefuseInUse;
    if (step.error != ErrorAccessDenied || step.kind == FileStep::Create) return Message::Count;
    bool readOnly = false;
    const uint32_t openError = store.OpenForWriting(step.path, readOnly);
    if (readOnly) return Message::RefuseReadOnly;
    return IsSharingError(openError) ? Message::RefuseInUse : Message::RefuseDenied;
}

ReportLine StepLine(const FileStep& step, Message rename, Message write, Message remove)
{
    const std::wstring error = DecimalText(step.error);
    switch (step.kind) {
    case FileStep::Rename: return {rename, {FileNameOf(step.path), FileNameOf(step.to), error}};
    case FileStep::Create:
    case FileStep::Replace: return {write, {FileNameOf(step.path), error}};
    case FileStep::Delete: break;
    }
    return {remove, {FileNameOf(step.path), error}};
}

}  // namespace

bool IsInUse(FileStore& store, const std::wstring& path)
{
    bool readOnly = false;
    return IsSharingError(store.OpenForWriting(path, readOnly));
}

FileReport FailureReport(FileStore& store, const DriverSlot& slot, FileChange& change)
{
    const FileStep& step = change.FailedStep();
    FileReport report;
    report.path = slot.driver.path;
    report.failed = true;
    const Message denial = DenialOf(store, step);
    report.result = denial != Message::Count
                        ? ReportLine{denial, {FileNameOf(step.path), DecimalText(step.error)}}
                        : StepLine(step, Message::FailedRename, Message::FailedCreate,
                                   Message::FailedDelete);
    if (change.PutBack()) {
        report.notes.push_back({Message::NoteNothingChanged, {}});
    } else {
        report.notes.push_back(StepLine(change.UndoFailure(), Message::NoteUndoRenameFailed,
                                        Message::NoteUndoCreateFailed,
                                        Message::NoteUndoDeleteFailed));
    }
    return report;
}
