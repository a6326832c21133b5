// QuellapSetup's command line: [--from FOLDER] [--lang en|ja] [VERB] PATH...,
// [--from FOLDER] [--lang en|ja] service install [PROGRAM] | status | uninstall, or --help.
#pragma once

#include <string>
#include <vector>

#include "service_verbs.h"
#include "setup_run.h"

enum class Language { User, English, Japanese };  // User: the user's UI language

struct SetupOptions {
    bool help = false;
    Verb verb = Verb::Dropped;
    ServiceVerb service = ServiceVerb::None;  // None: the verb acts on drivers
    std::wstring from;  // the package folder; empty for the program's own
    Language language = Language::User;
    std::vector<std::wstring> paths;  // a service verb: the program to install, if named
};

// False for a usage error. `arguments` excludes the program's name.
bool ParseSetupOptions(const std::vector<std::wstring>& arguments, SetupOptions& options);
