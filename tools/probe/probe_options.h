// QuellapProbe's command line.
#pragma once

#include <string>
#include <vector>

struct ProbeOptions {
    bool slew = false;
    bool help = false;
};

// False for anything but --slew and --help (also -h, /?).
bool ParseProbeOptions(const std::vector<std::wstring>& arguments, ProbeOptions& options);

std::wstring ProbeUsageText(const std::wstring& version);
