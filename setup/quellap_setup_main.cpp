// QuellapSetup: puts the wrapper in front of tuner drivers, takes it away, updates it and tells
// the state of each driver (setup_options.h has the command line, setup_messages.cpp the texts).
#include <windows.h>

#include "file_store_win32.h"
#include "quellap_version.h"
#include "setup_console_win32.h"
#include "setup_messages.h"
#include "setup_names.h"
#include "setup_options.h"

namespace {

std::wstring ProgramFolder(FileStore& store)
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof *path);
    if (length == 0 || length >= sizeof path / sizeof *path) return L".";
    return FolderOf(store.LongFullPath(path));
}

bool Japanese(Language language)
{
    return language == Language::Japanese ||
           (language == Language::User && UserLanguageIsJapanese());
}

int Usage(bool asked, bool japanese)
{
    WriteText(asked ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE,
              UsageText(L"" QUELLAP_VERSION_TEXT, japanese));
    // Started from Explorer with nothing dropped: let the text be read before the window goes.
    if (ConsoleIsOwn()) {
        WriteText(STD_OUTPUT_HANDLE, PressEnterText(japanese) + L"\n");
        WaitForEnter();
    }
    return asked ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    SetupOptions options;
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    const bool parsed = ParseSetupOptions(arguments, options);
    const bool japanese = Japanese(options.language);
    if (!parsed || options.help) return Usage(parsed, japanese);

    Win32FileStore store;
    PackageWrappers package;
    if (options.verb != Verb::Status && options.verb != Verb::Unwrap) {
        const std::wstring folder =
            options.from.empty() ? ProgramFolder(store) : store.LongFullPath(options.from);
        package = ReadPackageWrappers(store, folder);
    }
    const std::vector<FileReport> reports = RunVerb(store, options.verb, package, options.paths);
    for (const FileReport& report : reports) {
        WriteText(STD_OUTPUT_HANDLE, FormatReport(report, japanese) + L"\n");
    }
    if (options.verb == Verb::Dropped) {
        WriteText(STD_OUTPUT_HANDLE, PressEnterText(japanese) + L"\n");
        WaitForEnter();
    }
    return ExitCodeOf(reports);
}
