// The window tests' main: takes the paths it needs from its command line, then runs GoogleTest.
// Usage: horavant_gui_tests --relay-log=PATH [--horavant=PATH] [GoogleTest options]
// The program defaults to the one this tree built.
#include <gtest/gtest.h>

#include "unix_path.h"
#include "watcher_session.h"

namespace {

// Paths may be given as Linux paths, which Wine shows under drive Z:.
bool TakeOption(const std::wstring& argument, const std::wstring& name, std::wstring& value)
{
    if (argument.compare(0, name.size(), name) != 0) return false;
    value = argument.substr(name.size());
    if (value.compare(0, 1, L"/") == 0) value = WindowsPathOfUnix(value);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    TakeOption(L"--horavant=" QUELLAP_HORAVANT_UNIX, L"--horavant=", WatcherProgram);
    for (int i = 1; i < argc; ++i) {
        TakeOption(argv[i], L"--horavant=", WatcherProgram) ||
            TakeOption(argv[i], L"--relay-log=", RelayLogPath);
    }
    return RUN_ALL_TESTS();
}
