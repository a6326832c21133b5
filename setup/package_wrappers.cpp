#include "package_wrappers.h"

#include "wrapper_files.h"

namespace {

std::wstring PackageFile(const std::wstring& package, const wchar_t* machineFolder,
                         const wchar_t* name)
{
    return package + L"\\" + machineFolder + L"\\" + name;
}

PackageWrapper ReadWrapper(FileStore& store, const std::wstring& path, uint16_t machine)
{
    PackageWrapper wrapper;
    wrapper.path = path;
    if (store.Read(path, wrapper.bytes) != 0) return wrapper;
    const ImageVerdict verdict =
        ReadImageFacts(wrapper.bytes.data(), wrapper.bytes.size(), wrapper.facts);
    // A package put together by hand may hold the other machine's wrapper under this name.
    wrapper.usable = verdict == ImageVerdict::Image && IsTunerDriver(wrapper.facts) &&
                     wrapper.facts.isWrapper && wrapper.facts.machine == machine;
    return wrapper;
}

}  // namespace

const PackageWrapper* PackageWrappers::For(uint16_t machine) const
{
    if (machine == MachineX86) return &x86;
    if (machine == MachineX64) return &x64;
    return nullptr;
}

PackageWrappers ReadPackageWrappers(FileStore& store, const std::wstring& folder)
{
    PackageWrappers package;
    package.x86 =
        ReadWrapper(store, PackageFile(folder, PackageFolderX86, WrapperFileName), MachineX86);
    package.x64 =
        ReadWrapper(store, PackageFile(folder, PackageFolderX64, WrapperFileName), MachineX64);
    return package;
}
