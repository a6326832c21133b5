// One driver's place in a folder, read without changing anything: the file under the driver's
// name (BonDriver_X.dll), the renamed driver beside it (BonDriver_X_Quellapped.dl_) and the two
// settings files, and what that makes them.
#pragma once

#include "file_store.h"
#include "pe_image.h"

// One file as read: absent, unreadable, or its bytes and what they are.
struct SlotFile {
    std::wstring path;
    bool exists = false;
    uint32_t readError = 0;  // set when it exists but cannot be read
    FileBytes bytes;
    ImageVerdict verdict = ImageVerdict::NotImage;
    ImageFacts facts{};

    // A tuner driver that is not one of our wrappers, or one of our wrappers.
    bool IsDriver() const { return IsTunerImage() && !facts.isWrapper; }
    bool IsWrapper() const { return IsTunerImage() && facts.isWrapper; }

private:
    bool IsTunerImage() const
    {
        return exists && !readError && verdict == ImageVerdict::Image && IsTunerDriver(facts);
    }
};

enum class SlotState {
    Missing,       // neither BonDriver_X.dll nor BonDriver_X_Quellapped.dl_
    Unreadable,    // BonDriver_X.dll exists but cannot be read
    NotImage,      // ... is no Windows DLL
    Damaged,       // ... is a cut or broken one
    NotDriver,     // ... exports no CreateBonDriver
    Plain,         // a tuner driver, not wrapped
    Wrapped,       // our wrapper in front of a driver of its machine
    Mismatch,      // our wrapper in front of a driver of another machine
    BrokenDriver,  // our wrapper in front of a renamed file that is no tuner driver
    WrapperAlone,  // our wrapper with no renamed driver beside it
    HalfDone,      // a renamed driver with nothing under its old name
};

struct DriverSlot {
    SlotFile driver;    // BonDriver_X.dll
    SlotFile wrapped;   // BonDriver_X_Quellapped.dl_
    SlotFile settings;  // BonDriver_X.ini
    SlotFile copiedSettings;  // BonDriver_X_Quellapped.ini
    SlotState state = SlotState::Missing;

    // The driver's settings file exists but its copy for the renamed driver does not.
    bool SettingsNotCopied() const { return settings.exists && !copiedSettings.exists; }
};

// Reads the four files of the driver at `driverPath` (a full long path).
DriverSlot ReadDriverSlot(FileStore& store, const std::wstring& driverPath);
