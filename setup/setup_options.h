// QuellapSetup's command line: [--from FOLDER] [--lang en|ja] [VERB] PATH..., or --help.
#pragma once

#include <string>
#include <vector>

#include "setup_run.h"

enum class Language { User, English, Japanese };  // User: the user's UI language

struct SetupOptions {
    bool help = false;
    Verb verb = Verb::Dropped;
    std::wstring from;  // the package folder; empty for the program's own
    Language language = Language::User;
    std::vector<std::wstring> paths;
};

// False for a usage error. `arguments` excludes the program's name.
bool ParseSetupOptions(const std::vector<std::wstring>& arguments, SetupOptions& options);
