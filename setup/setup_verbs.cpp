#include "setup_verbs.h"

#include "change_failure.h"
#include "setup_names.h"
#include "slot_status.h"

namespace {

FileReport Refusal(const DriverSlot& slot, Message id, std::vector<std::wstring> args = {})
{
    FileReport report;
    report.path = slot.driver.path;
    report.result = {id, std::move(args)};
    report.failed = true;
    return report;
}

// The refusal that a state other than the expected ones gives, if any.
bool RefuseUnusable(const DriverSlot& slot, FileReport& report)
{
    switch (slot.state) {
    case SlotState::Missing: report = Refusal(slot, Message::RefuseNotFound); return true;
    case SlotState::Unreadable:
        report = Refusal(slot, Message::RefuseUnreadable,
                         {FileNameOf(slot.driver.path), DecimalText(slot.driver.readError)});
        return true;
    case SlotState::NotImage: report = Refusal(slot, Message::RefuseNotImage); return true;
    case SlotState::Damaged: report = Refusal(slot, Message::RefuseDamaged); return true;
    case SlotState::NotDriver: report = Refusal(slot, Message::RefuseNotDriver); return true;
    case SlotState::WrapperAlone:
        report = Refusal(slot, Message::RefuseWrapperAlone, {FileNameOf(slot.wrapped.path)});
        return true;
    default: return false;
    }
}

// The package's wrapper for a driver of `machine`, or the refusal.
const PackageWrapper* WrapperFor(const PackageWrappers& package, const DriverSlot& slot,
                                 uint16_t machine, FileReport& report)
{
    const PackageWrapper* wrapper = package.For(machine);
    if (!wrapper) {
        report = Refusal(slot, Message::RefuseOtherMachine, {MachineName(machine)});
        return nullptr;
    }
    if (!wrapper->usable) {
        report = Refusal(slot, Message::RefuseNoWrapper, {MachineName(machine), wrapper->path});
        return nullptr;
    }
    return wrapper;
}

bool RefuseUnwritable(FileStore& store, const DriverSlot& slot, FileReport& report)
{
    const uint32_t error = store.CheckWritable(FolderOf(slot.driver.path));
    if (error == 0) return false;
    report = Refusal(slot, Message::RefuseNotWritable, {DecimalText(error)});
    return true;
}

bool RefuseUnreadableSettings(const DriverSlot& slot, FileReport& report)
{
    for (const SlotFile* file : {&slot.settings, &slot.copiedSettings}) {
        if (!file->readError) continue;
        report = Refusal(slot, Message::RefuseUnreadable,
                         {FileNameOf(file->path), DecimalText(file->readError)});
        return true;
    }
    return false;
}

// Copies BonDriver_X.ini for the renamed driver unless that copy exists. A copy that differs
// (left by an interrupted unwrap, say) is kept but told: the driver reads it from now on.
void CopySettings(const DriverSlot& slot, FileChange& change, std::vector<ReportLine>& notes)
{
    const std::wstring copyName = FileNameOf(slot.copiedSettings.path);
    if (!slot.copiedSettings.exists) {
        if (slot.settings.exists && change.Create(slot.copiedSettings.path, slot.settings.bytes)) {
            notes.push_back({Message::NoteSettingsCopied, {copyName}});
        }
    } else if (slot.settings.exists && slot.settings.bytes == slot.copiedSettings.bytes) {
        notes.push_back({Message::NoteSettingsLeft, {copyName}});
    } else {
        notes.push_back({Message::NoteCopyDiffers, {copyName, FileNameOf(slot.settings.path)}});
    }
}

FileReport Finish(FileStore& store, const DriverSlot& slot, FileChange& change, ReportLine result,
                  std::vector<ReportLine> notes)
{
    if (change.Failed()) return FailureReport(store, slot, change);
    FileReport report;
    report.path = slot.driver.path;
    report.result = std::move(result);
    report.notes = std::move(notes);
    return report;
}

// Puts the package's wrapper under the driver's name, renaming the driver first when it is
// still there (it is not when a wrap was interrupted).
FileReport InstallWrapper(FileStore& store, const PackageWrappers& package, const DriverSlot& slot,
                          uint16_t machine)
{
    FileReport refusal;
    const PackageWrapper* wrapper = WrapperFor(package, slot, machine, refusal);
    if (!wrapper) return refusal;
    const size_t pathLength = WithoutExtension(slot.driver.path).size();
    if (pathLength > WrapperStemLimit) {
        return Refusal(slot, Message::RefusePathTooLong,
                       {DecimalText(uint32_t(pathLength)), DecimalText(WrapperStemLimit)});
    }
    if (RefuseUnreadableSettings(slot, refusal) || RefuseUnwritable(store, slot, refusal)) {
        return refusal;
    }
    const bool rename = slot.driver.exists;
    // A program that has the driver loaded keeps it until it loads it again.
    const bool loaded = IsInUse(store, rename ? slot.driver.path : slot.wrapped.path);
    FileChange change(store);
    if (rename) change.Rename(slot.driver.path, slot.wrapped.path);
    change.Create(slot.driver.path, wrapper->bytes);
    std::vector<ReportLine> notes;
    CopySettings(slot, change, notes);
    if (WithoutExtension(FileNameOf(slot.driver.path)).size() > SourceNameLimit) {
        notes.push_back({Message::NoteNameCut, {DecimalText(SourceNameLimit)}});
    }
    if (loaded) notes.push_back({Message::NoteLoadedUntilRestart, {FileNameOf(slot.driver.path)}});
    return Finish(store, slot, change,
                  {rename ? Message::WrapDone : Message::WrapFinished,
                   {VersionText(wrapper->facts.version), MachineName(machine),
                    FileNameOf(slot.wrapped.path)}},
                  std::move(notes));
}

// Removes the copied settings file when it is still the driver's own, else says why it stays.
void RemoveCopiedSettings(const DriverSlot& slot, FileChange& change,
                          std::vector<ReportLine>& notes)
{
    if (!slot.copiedSettings.exists) return;
    const std::wstring copyName = FileNameOf(slot.copiedSettings.path);
    const std::wstring originalName = FileNameOf(slot.settings.path);
    // Held open by another program, say: not read, so not compared.
    for (const SlotFile* file : {&slot.copiedSettings, &slot.settings}) {
        if (!file->readError) continue;
        notes.push_back({Message::NoteCopyUnread,
                         {copyName, FileNameOf(file->path), DecimalText(file->readError)}});
        return;
    }
    if (!slot.settings.exists) {
        notes.push_back({Message::NoteCopyKeptAlone, {copyName, originalName}});
    } else if (slot.settings.bytes != slot.copiedSettings.bytes) {
        notes.push_back({Message::NoteCopyKept, {copyName, originalName}});
    } else if (change.Delete(slot.copiedSettings.path, slot.copiedSettings.bytes)) {
        notes.push_back({Message::NoteCopyRemoved, {copyName, originalName}});
    }
}

// An unwrap interrupted after the driver got its name back leaves only the settings copy.
FileReport RemoveLeftoverCopy(FileStore& store, const DriverSlot& slot)
{
    FileReport refusal;
    if (RefuseUnwritable(store, slot, refusal)) return refusal;
    FileChange change(store);
    std::vector<ReportLine> notes;
    RemoveCopiedSettings(slot, change, notes);
    return Finish(store, slot, change, {Message::UnwrapCopyLeft, {}}, std::move(notes));
}

}  // namespace

FileReport Wrap(FileStore& store, const PackageWrappers& package, const DriverSlot& slot)
{
    FileReport refusal;
    if (RefuseUnusable(slot, refusal)) return refusal;
    switch (slot.state) {
    case SlotState::Plain:
        if (slot.wrapped.exists) {
            return Refusal(slot, Message::RefuseTargetExists, {FileNameOf(slot.wrapped.path)});
        }
        return InstallWrapper(store, package, slot, slot.driver.facts.machine);
    case SlotState::HalfDone:
        if (slot.wrapped.readError) {
            return Refusal(slot, Message::RefuseUnreadable,
                           {FileNameOf(slot.wrapped.path), DecimalText(slot.wrapped.readError)});
        }
        if (!slot.wrapped.IsDriver()) {
            return Refusal(slot, Message::RefuseBrokenDriver, {FileNameOf(slot.wrapped.path)});
        }
        return InstallWrapper(store, package, slot, slot.wrapped.facts.machine);
    default: break;
    }
    // Wrapped already: only a settings file that was not copied is left to do.
    const std::wstring version = VersionText(slot.driver.facts.version);
    if (!slot.SettingsNotCopied()) return Refusal(slot, Message::RefuseAlreadyWrapped, {version});
    if (RefuseUnreadableSettings(slot, refusal) || RefuseUnwritable(store, slot, refusal)) {
        return refusal;
    }
    FileChange change(store);
    change.Create(slot.copiedSettings.path, slot.settings.bytes);
    return Finish(store, slot, change,
                  {Message::WrapSettings, {version, FileNameOf(slot.copiedSettings.path)}}, {});
}

FileReport Unwrap(FileStore& store, const DriverSlot& slot)
{
    FileReport refusal;
    if (RefuseUnusable(slot, refusal)) return refusal;
    if (slot.state == SlotState::Plain) {
        return slot.copiedSettings.exists ? RemoveLeftoverCopy(store, slot)
                                          : Refusal(slot, Message::RefuseNotWrapped);
    }
    if (RefuseUnwritable(store, slot, refusal)) return refusal;
    const bool halfDone = slot.state == SlotState::HalfDone;
    FileChange change(store);
    // The wrapper goes first: a program that has it loaded makes this fail before anything
    // has changed.
    if (!halfDone) change.Delete(slot.driver.path, slot.driver.bytes);
    change.Rename(slot.wrapped.path, slot.driver.path);
    std::vector<ReportLine> notes;
    RemoveCopiedSettings(slot, change, notes);
    if (halfDone) {
        return Finish(store, slot, change, {Message::UnwrapFinished, {}}, std::move(notes));
    }
    return Finish(store, slot, change,
                  {Message::UnwrapDone, {VersionText(slot.driver.facts.version)}},
                  std::move(notes));
}

FileReport Update(FileStore& store, const PackageWrappers& package, const DriverSlot& slot)
{
    if (slot.state != SlotState::Wrapped && slot.state != SlotState::Mismatch) {
        return StatusReport(slot);
    }
    const ImageFacts& installed = slot.driver.facts;
    const uint16_t machine = slot.wrapped.facts.machine;
    FileReport refusal;
    const PackageWrapper* wrapper = WrapperFor(package, slot, machine, refusal);
    if (!wrapper) return refusal;
    const std::wstring version = VersionText(wrapper->facts.version);
    if (installed.version == wrapper->facts.version && installed.machine == machine) {
        FileReport report = StatusReport(slot);
        report.result = {Message::UpToDate, {version, MachineName(machine)}};
        return report;
    }
    if (RefuseUnwritable(store, slot, refusal)) return refusal;
    FileChange change(store);
    // In one step, so the driver stays loadable throughout; a program that has the old wrapper
    // loaded makes it fail.
    change.Replace(slot.driver.path, wrapper->bytes, slot.driver.bytes);
    const std::vector<std::wstring> versions = {VersionText(installed.version),
                                                MachineName(installed.machine), version,
                                                MachineName(machine)};
    return Finish(store, slot, change, {Message::UpdateDone, versions}, {});
}
