// One run of QuellapSetup over its command line, apart from the system it runs on: what it
// writes, and when it waits for Enter before its console window goes.
#pragma once

#include "file_store.h"

class ServicePlatform;

// The program's console (setup_console_win32.cpp on Windows).
class SetupConsole {
public:
    // To standard error when `error`, else to standard output.
    virtual void Write(bool error, const std::wstring& text) = 0;
    // True when no other process shares the console: it was made for this program, which
    // Explorer started, and it closes when the program ends.
    virtual bool IsOwn() = 0;
    // Returns after a line (or the end) of standard input.
    virtual void WaitForEnter() = 0;

protected:
    ~SetupConsole() = default;
};

// `arguments` exclude the program's name; the wrappers (and the watcher) are taken from
// `programFolder` unless --from names another. Returns the exit code.
int RunSetup(const std::vector<std::wstring>& arguments, FileStore& store,
             ServicePlatform& services, SetupConsole& console, const std::wstring& programFolder,
             bool userJapanese);
