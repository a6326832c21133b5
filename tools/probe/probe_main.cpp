// QuellapProbe: reports what this Windows does with the calls Quellap makes (probe_options.cpp
// has the command line, probe_report.cpp the report's lines).
#include <windows.h>

#include "announcement_list_win32.h"
#include "probe_facts_win32.h"
#include "probe_options.h"
#include "probe_report.h"
#include "quellap_version.h"
#include "setup_console_win32.h"
#include "slew_clock_win32.h"
#include "slew_probe_win32.h"
#include "wrapper_files.h"

namespace {

ProbeFacts ReadProbeFacts()
{
    ProbeFacts facts;
    ReadSystemFacts(facts.system);
    ReadTokenFacts(facts.token);
    ReadSessionFacts(facts.session);
    ReadTimeServiceFacts(facts.timeService);
    Win32SlewClock clock;
    const uint32_t error = clock.ReadAdjustment(facts.adjustment.values);
    if (error != 0) facts.adjustment.failure = {L"GetSystemTimeAdjustment", error};
    ReadServiceFacts(WatcherServiceName, facts.watcherService);
    ReadSourceFacts(facts.sources);
    return facts;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Win32SetupConsole console;
    const std::wstring version = L"" QUELLAP_VERSION_TEXT;
    ProbeOptions options;
    const bool parsed =
        ParseProbeOptions(std::vector<std::wstring>(argv + 1, argv + argc), options);
    if (!parsed || options.help) {
        console.Write(!parsed, ProbeUsageText(version));
        return parsed ? 0 : 2;
    }
    const ProbeFacts facts = ReadProbeFacts();
    console.Write(false, FormatFacts(facts, version));
    std::vector<std::wstring> failures = FactFailures(facts);
    if (options.slew) {
        const std::wstring failure = ProbeSlew(facts, console);
        if (!failure.empty()) failures.push_back(failure);
    }
    console.Write(false, FormatResult(failures));
    // Started from Explorer: the report stays until it has been copied.
    if (console.IsOwn()) {
        console.Write(false, L"Press Enter to close.\n");
        console.WaitForEnter();
    }
    return failures.empty() ? 0 : 1;
}
