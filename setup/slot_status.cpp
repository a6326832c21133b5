#include "slot_status.h"

#include "setup_names.h"

std::wstring DecimalText(uint32_t value)
{
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

std::wstring MachineName(uint16_t machine)
{
    switch (machine) {
    case MachineX86: return L"x86";
    case MachineX64: return L"x64";
    case 0xAA64: return L"ARM64";
    case 0x01C4: return L"ARM";
    }
    static const wchar_t Digits[] = L"0123456789ABCDEF";
    std::wstring text = L"machine 0x";
    for (int shift = 12; shift >= 0; shift -= 4) text += Digits[(machine >> shift) & 0xF];
    return text;
}

std::wstring VersionText(const FileVersion& version)
{
    std::wstring text = DecimalText(version.part[0]) + L"." + DecimalText(version.part[1]) + L"." +
                        DecimalText(version.part[2]);
    if (version.part[3] != 0) text += L"." + DecimalText(version.part[3]);
    return text;
}

namespace {

ReportLine Finding(const DriverSlot& slot)
{
    const ImageFacts& driver = slot.driver.facts;
    const ImageFacts& wrapped = slot.wrapped.facts;
    const std::wstring wrappedName = FileNameOf(slot.wrapped.path);
    switch (slot.state) {
    case SlotState::Missing: return {Message::NotFound, {}};
    case SlotState::Unreadable: return {Message::Unreadable, {DecimalText(slot.driver.readError)}};
    case SlotState::NotImage: return {Message::NotImage, {}};
    case SlotState::Damaged: return {Message::Damaged, {}};
    case SlotState::NotDriver: return {Message::NotDriver, {}};
    case SlotState::Plain: return {Message::Plain, {MachineName(driver.machine)}};
    case SlotState::Wrapped:
    case SlotState::Mismatch:
        return {slot.state == SlotState::Wrapped ? Message::Wrapped : Message::Mismatch,
                {VersionText(driver.version), MachineName(driver.machine), wrappedName,
                 MachineName(wrapped.machine)}};
    case SlotState::BrokenDriver:
        return {Message::BrokenDriver,
                {VersionText(driver.version), MachineName(driver.machine), wrappedName}};
    case SlotState::WrapperAlone:
        return {Message::WrapperAlone,
                {VersionText(driver.version), MachineName(driver.machine), wrappedName}};
    case SlotState::HalfDone:
        return {Message::HalfDone,
                {wrappedName, slot.wrapped.IsDriver() ? MachineName(wrapped.machine) : L"?"}};
    }
    return {Message::NotFound, {}};
}

}  // namespace

FileReport StatusReport(const DriverSlot& slot)
{
    FileReport report;
    report.path = slot.driver.path;
    report.result = Finding(slot);
    report.failed = slot.state == SlotState::Missing || slot.state == SlotState::Unreadable;
    const bool wrapped = slot.state == SlotState::Wrapped || slot.state == SlotState::Mismatch ||
                         slot.state == SlotState::BrokenDriver;
    if (wrapped && slot.SettingsNotCopied()) {
        report.notes.push_back(
            {Message::NoteSettingsNotCopied,
             {FileNameOf(slot.settings.path), FileNameOf(slot.copiedSettings.path)}});
    }
    if (!wrapped && slot.state != SlotState::HalfDone && slot.wrapped.exists) {
        report.notes.push_back({Message::NoteRenamedToo, {FileNameOf(slot.wrapped.path)}});
    }
    // An unwrap interrupted after the driver got its name back.
    if (slot.state == SlotState::Plain && slot.copiedSettings.exists) {
        report.notes.push_back(
            {Message::NoteCopyLeftOver,
             {FileNameOf(slot.copiedSettings.path), FileNameOf(slot.settings.path)}});
    }
    return report;
}
