#include "setup_run.h"

#include <algorithm>

#include "driver_slot.h"
#include "leftover_files.h"
#include "setup_names.h"
#include "setup_verbs.h"
#include "slot_status.h"

namespace {

bool LessNoCase(const std::wstring& a, const std::wstring& b)
{
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](wchar_t x, wchar_t y) { return lower(x) < lower(y); });
}

FileReport FolderReport(const std::wstring& folder, Message id, std::vector<std::wstring> args,
                        bool failed)
{
    FileReport report;
    report.path = folder;
    report.result = {id, std::move(args)};
    report.failed = failed;
    return report;
}

// The drivers of a folder, each once, by name: every *.dll, and the old name of every
// *_Quellapped.dl_.
uint32_t DriversIn(FileStore& store, const std::wstring& folder, std::vector<std::wstring>& drivers)
{
    std::vector<std::wstring> names;
    if (const uint32_t error = store.List(folder, names)) return error;
    // A drive's root ends in a backslash already.
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
    for (const std::wstring& name : names) {
        if (IsWrappedDriverName(name) || EndsWithNoCase(name, L".dll")) {
            drivers.push_back(base + DriverPathOfArgument(name));
        }
    }
    std::sort(drivers.begin(), drivers.end(), LessNoCase);
    return 0;
}

FileReport RunOne(FileStore& store, Verb verb, const PackageWrappers& package,
                  const std::wstring& driverPath)
{
    const DriverSlot slot = ReadDriverSlot(store, driverPath);
    switch (verb) {
    case Verb::Status: break;
    case Verb::Wrap: return Wrap(store, package, slot);
    case Verb::Unwrap: return Unwrap(store, slot);
    case Verb::Update: return Update(store, package, slot);
    case Verb::Dropped:
        if (slot.state == SlotState::Plain) return Wrap(store, package, slot);
        break;
    }
    return StatusReport(slot);
}

}  // namespace

std::vector<FileReport> RunVerb(FileStore& store, Verb verb, const PackageWrappers& package,
                                const std::vector<std::wstring>& paths)
{
    std::vector<FileReport> reports;
    std::vector<std::wstring> done, folders;
    // Each folder's leftovers once, before its first driver: a run that changes files there
    // removes them, a status names them.
    const auto leftovers = [&](const std::wstring& folder, Verb each) {
        const auto same = [&](const std::wstring& other) { return EqualNoCase(folder, other); };
        if (std::find_if(folders.begin(), folders.end(), same) != folders.end()) return;
        folders.push_back(folder);
        ReportLeftovers(store, folder, each != Verb::Status, reports);
    };
    for (const std::wstring& argument : paths) {
        const std::wstring path = store.LongFullPath(argument);
        PathKind kind = PathKind::Missing;
        std::vector<std::wstring> drivers;
        const bool isFolder = store.Kind(path, kind) == 0 && kind == PathKind::Folder;
        // A dropped folder is only looked at: dropping files is how a user says which to wrap.
        const Verb each = verb == Verb::Dropped && isFolder ? Verb::Status : verb;
        if (!isFolder) {
            drivers.push_back(DriverPathOfArgument(path));
        } else if (verb == Verb::Wrap || verb == Verb::Unwrap) {
            reports.push_back(FolderReport(path, Message::RefuseFolder, {}, true));
        } else if (const uint32_t error = DriversIn(store, path, drivers)) {
            reports.push_back(FolderReport(path, Message::Unreadable, {DecimalText(error)}, true));
        } else if (drivers.empty()) {
            leftovers(path, each);
            reports.push_back(FolderReport(path, Message::FolderEmpty, {}, false));
        }
        for (const std::wstring& driver : drivers) {
            const auto same = [&](const std::wstring& other) { return EqualNoCase(driver, other); };
            if (std::find_if(done.begin(), done.end(), same) != done.end()) continue;
            done.push_back(driver);
            leftovers(FolderOf(driver), each);
            reports.push_back(RunOne(store, each, package, driver));
        }
    }
    return reports;
}

int ExitCodeOf(const std::vector<FileReport>& reports)
{
    for (const FileReport& report : reports) {
        if (report.failed) return 1;
    }
    return 0;
}
