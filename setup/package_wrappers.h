// The wrappers that QuellapSetup installs: x86\BonDriver_Quellap.dll and x64\BonDriver_Quellap.dll
// of the release package's folder, each usable only when it is our wrapper of that machine.
#pragma once

#include "file_store.h"
#include "pe_image.h"

struct PackageWrapper {
    std::wstring path;
    bool usable = false;
    FileBytes bytes;
    ImageFacts facts{};
};

struct PackageWrappers {
    PackageWrapper x86;
    PackageWrapper x64;

    // The wrapper for a driver of `machine`: usable or not, null for other machines.
    const PackageWrapper* For(uint16_t machine) const;
};

PackageWrappers ReadPackageWrappers(FileStore& store, const std::wstring& folder);
