// What QuellapSetup says about one file: a result and notes, each a message of the catalogue
// (setup_messages.cpp) with its arguments, kept apart from the language it is shown in.
#pragma once

#include <string>
#include <vector>

enum class Message {
    // What status finds.
    NotFound, Unreadable, NotImage, Damaged, NotDriver, Plain, Wrapped, Mismatch, BrokenDriver,
    WrapperAlone, HalfDone, FolderEmpty, Leftover,
    // What was done.
    WrapDone, WrapFinished, WrapSettings, UnwrapDone, UnwrapFinished, UnwrapCopyLeft, UpdateDone,
    UpToDate, LeftoverRemoved, LeftoverKept,
    // Refusals: nothing was changed.
    RefuseFolder, RefuseNotFound, RefuseUnreadable, RefuseNotImage, RefuseDamaged,
    RefuseNotDriver, RefuseAlreadyWrapped, RefuseWrapperAlone, RefuseBrokenDriver,
    RefuseNoWrapper, RefuseOtherMachine, RefuseTargetExists, RefuseNotWritable, RefusePathTooLong,
    RefuseNotWrapped, RefuseInUse, RefuseReadOnly, RefuseDenied,
    // A step that failed; its notes tell whether everything was put back.
    FailedRename, FailedCreate, FailedDelete,
    // Notes.
    NoteSettingsNotCopied, NoteRenamedToo, NoteNameCut, NoteSettingsCopied, NoteSettingsLeft,
    NoteCopyRemoved, NoteCopyKept, NoteCopyKeptAlone, NoteNothingChanged, NoteUndoRenameFailed,
    NoteUndoCreateFailed, NoteUndoDeleteFailed, NoteLoadedUntilRestart, NoteCopyDiffers,
    NoteCopyUnread, NoteCopyLeftOver,
    // The service: what status finds and what was done.
    ServiceInstalled, ServiceAlreadyRunning, ServiceAlreadyStarted, ServiceRemoved,
    ServiceNotInstalled, ServiceRunning, ServiceStopped, ServiceStarting, ServiceStopping,
    ServiceOtherState, EventInformation, EventWarning, EventError,
    // The service's refusals and failures.
    RefuseNotElevated, RefuseOtherService, RefuseProgramNotFound, RefuseNotProgram,
    RefuseInProfile, RefuseOthersCanChange, RefuseSecurityUnread, FailedServiceManager,
    FailedCreateService, FailedDescribe, FailedEventSource, FailedStart, FailedStop,
    FailedRemoveEventSource, FailedDeleteService,
    // The service's notes.
    NoteNoRestart, NoteWindowsTime, NoteStartAutomatic, NoteStartDelayed, NoteStartManual,
    NoteStartDisabled, NoteStartOther, NoteCommandLine, NoteLastExit, NoteUndoServiceLeft,
    NoteUndoEventSource, NoteUndoStart,
    Count
};

struct ReportLine {
    Message id;
    std::vector<std::wstring> args;
};

struct FileReport {
    std::wstring path;
    ReportLine result;
    std::vector<ReportLine> notes;
    bool failed = false;  // refused or failed: the program's exit code becomes 1
};
