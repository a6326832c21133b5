#include "relay_main_win32.h"

#include <windows.h>

#include "command_line_win32.h"
#include "desktop_scan_win32.h"
#include "relay_record.h"
#include "service_worker.h"
#include "settings_win32.h"

namespace {

const char NotStartedByServiceText[] =
    "Horavant --relay is started by the Horavant service in each signed-in session "
    "(RelaySessions=1). Run Horavant.exe without arguments for its window.\r\n";

bool WriteAll(HANDLE pipe, const std::vector<uint8_t>& bytes)
{
    DWORD written = 0;
    return WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL) &&
           written == bytes.size();
}

}  // namespace

int RunRelay()
{
    const HANDLE pipe = GetStdHandle(STD_OUTPUT_HANDLE);
    if (pipe == NULL || pipe == INVALID_HANDLE_VALUE || GetFileType(pipe) != FILE_TYPE_PIPE) {
        SayToStarter(NotStartedByServiceText);
        return RelayNotStartedByService;
    }
    WatchSettings settings{};
    LoadSettings(settings);
    const DWORD period = ScanPeriodMsec(settings.UpdateMsec);
    std::vector<AnnouncerSnapshot> windows;
    std::vector<uint8_t> bytes;
    for (;;) {
        windows.clear();
        bytes.clear();
        GatherThisDesktop(windows, NULL);
        AppendScan(bytes, windows);
        if (!WriteAll(pipe, bytes)) return 0;
        Sleep(RelayScanPauseMsec(windows.size(), period));
    }
}
