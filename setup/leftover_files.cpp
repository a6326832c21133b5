#include "leftover_files.h"

#include "setup_names.h"
#include "slot_status.h"

namespace {

const wchar_t Prefix[] = L"~QuellapSetup-";
const wchar_t Suffix[] = L".tmp";
constexpr size_t PrefixLength = sizeof Prefix / sizeof *Prefix - 1;
constexpr size_t DigitCount = 8;

bool IsHexDigit(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

}  // namespace

std::wstring TemporaryFileName(uint32_t number)
{
    static const wchar_t Digits[] = L"0123456789abcdef";
    std::wstring name = Prefix;
    for (int shift = 28; shift >= 0; shift -= 4) name += Digits[(number >> shift) & 0xF];
    return name + Suffix;
}

bool IsTemporaryFileName(const std::wstring& name)
{
    if (name.size() != PrefixLength + DigitCount + 4 ||
        !EqualNoCase(name.substr(0, PrefixLength), Prefix) || !EndsWithNoCase(name, Suffix)) {
        return false;
    }
    for (size_t i = PrefixLength; i < PrefixLength + DigitCount; ++i) {
        if (!IsHexDigit(name[i])) return false;
    }
    return true;
}

void ReportLeftovers(FileStore& store, const std::wstring& folder, bool remove,
                     std::vector<FileReport>& reports)
{
    std::vector<std::wstring> names;
    // A folder that cannot be listed has its own report, or its driver's.
    if (store.List(folder, names) != 0) return;
    for (const std::wstring& name : names) {
        if (!IsTemporaryFileName(name)) continue;
        FileReport report;
        report.path = folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
        report.result = {Message::Leftover, {}};
        if (remove) {
            // A running QuellapSetup holds its own file open, so it is never taken away.
            const uint32_t error = store.Delete(report.path);
            report.result = error ? ReportLine{Message::LeftoverKept, {DecimalText(error)}}
                                  : ReportLine{Message::LeftoverRemoved, {}};
        }
        reports.push_back(std::move(report));
    }
}
