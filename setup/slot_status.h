// The status line of one driver's place in its folder, and the texts of machines and versions.
#pragma once

#include "driver_slot.h"
#include "setup_report.h"

std::wstring MachineName(uint16_t machine);  // "x86", "x64", "ARM64", ... or "machine 0x01C4"
std::wstring VersionText(const FileVersion& version);  // "1.0.0", with a fourth part unless 0
std::wstring DecimalText(uint32_t value);

FileReport StatusReport(const DriverSlot& slot);
