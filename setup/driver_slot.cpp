#include "driver_slot.h"

#include "setup_names.h"

namespace {

SlotFile ReadSlotFile(FileStore& store, const std::wstring& path, bool isImage)
{
    SlotFile file;
    file.path = path;
    PathKind kind = PathKind::Missing;
    const uint32_t error = store.Kind(path, kind);
    if (error == ErrorFileNotFound || error == ErrorPathNotFound) return file;
    file.exists = true;
    if (error != 0 || kind != PathKind::File) {
        file.readError = error != 0 ? error : ErrorAccessDenied;  // a folder under a file's name
        return file;
    }
    file.readError = store.Read(path, file.bytes);
    if (isImage && !file.readError) {
        file.verdict = ReadImageFacts(file.bytes.data(), file.bytes.size(), file.facts);
    }
    return file;
}

SlotState WrapperState(const DriverSlot& slot)
{
    if (!slot.wrapped.exists) return SlotState::WrapperAlone;
    if (!slot.wrapped.IsDriver()) return SlotState::BrokenDriver;
    return slot.wrapped.facts.machine == slot.driver.facts.machine ? SlotState::Wrapped
                                                                   : SlotState::Mismatch;
}

SlotState StateOf(const DriverSlot& slot)
{
    const SlotFile& driver = slot.driver;
    if (!driver.exists) return slot.wrapped.exists ? SlotState::HalfDone : SlotState::Missing;
    if (driver.readError) return SlotState::Unreadable;
    if (driver.verdict != ImageVerdict::Image) {
        return driver.verdict == ImageVerdict::Damaged ? SlotState::Damaged : SlotState::NotImage;
    }
    if (driver.IsWrapper()) return WrapperState(slot);
    return driver.IsDriver() ? SlotState::Plain : SlotState::NotDriver;
}

}  // namespace

DriverSlot ReadDriverSlot(FileStore& store, const std::wstring& driverPath)
{
    DriverSlot slot;
    slot.driver = ReadSlotFile(store, driverPath, true);
    slot.wrapped = ReadSlotFile(store, WrappedDriverPath(driverPath), true);
    slot.settings = ReadSlotFile(store, SettingsPath(driverPath), false);
    slot.copiedSettings = ReadSlotFile(store, CopiedSettingsPath(driverPath), false);
    slot.state = StateOf(slot);
    return slot;
}
