// QuellapSetup: puts the wrapper in front of tuner drivers, takes it away, updates it and tells
// the state of each driver, and installs the watcher as a service (setup_program.cpp has the
// run, setup_options.h the command line, setup_messages.cpp the texts).
#include <windows.h>

#include "file_store_win32.h"
#include "service_platform_win32.h"
#include "setup_console_win32.h"
#include "setup_names.h"

namespace {

std::wstring ProgramFolder(FileStore& store)
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof *path);
    if (length == 0 || length >= sizeof path / sizeof *path) return L".";
    return FolderOf(store.LongFullPath(path));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Win32FileStore store;
    Win32ServicePlatform services;
    Win32SetupConsole console;
    return RunSetup(std::vector<std::wstring>(argv + 1, argv + argc), store, services, console,
                    ProgramFolder(store), UserLanguageIsJapanese());
}
