#include "probe_options.h"

bool ParseProbeOptions(const std::vector<std::wstring>& arguments, ProbeOptions& options)
{
    options = ProbeOptions{};
    for (const std::wstring& argument : arguments) {
        if (argument == L"--slew") {
            options.slew = true;
        } else if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
            options.help = true;
        } else {
            return false;
        }
    }
    return true;
}

std::wstring ProbeUsageText(const std::wstring& version)
{
    return L"QuellapProbe " + version +
           L": reports what this Windows does with the calls Quellap makes.\n"
           L"\n"
           L"  QuellapProbe          the report; nothing is changed\n"
           L"  QuellapProbe --slew   also runs the clock at twice its rate for 2 s, then at a\n"
           L"                        fifth for 2.5 s, and measures it (needs an elevated prompt;\n"
           L"                        the clock is handed back at the end and on Ctrl+C)\n"
           L"\n"
           L"Exit code: 0 reported, 1 something it needed failed (named on the last line),\n"
           L"2 usage error.\n";
}
