#include "setup_program.h"

#include "quellap_version.h"
#include "setup_messages.h"
#include "setup_options.h"

namespace {

// Started from Explorer, the console window goes with the program: its lines are left to be
// read. At a prompt or in a script nothing waits.
void LetBeRead(SetupConsole& console, bool japanese)
{
    if (!console.IsOwn()) return;
    console.Write(false, PressEnterText(japanese) + L"\n");
    console.WaitForEnter();
}

std::vector<FileReport> RunDriverVerb(FileStore& store, const SetupOptions& options,
                                      const std::wstring& packageFolder)
{
    PackageWrappers package;
    if (options.verb != Verb::Status && options.verb != Verb::Unwrap) {
        package = ReadPackageWrappers(store, packageFolder);
    }
    return RunVerb(store, options.verb, package, options.paths);
}

}  // namespace

int RunSetup(const std::vector<std::wstring>& arguments, FileStore& store,
             ServicePlatform& services, SetupConsole& console, const std::wstring& programFolder,
             bool userJapanese)
{
    SetupOptions options;
    const bool parsed = ParseSetupOptions(arguments, options);
    const bool japanese = options.language == Language::Japanese ||
                          (options.language == Language::User && userJapanese);
    if (!parsed || options.help) {
        console.Write(!parsed, UsageText(L"" QUELLAP_VERSION_TEXT, japanese));
        LetBeRead(console, japanese);
        return parsed ? 0 : 2;
    }
    const std::wstring packageFolder =
        options.from.empty() ? programFolder : store.LongFullPath(options.from);
    const std::vector<FileReport> reports =
        options.service == ServiceVerb::None
            ? RunDriverVerb(store, options, packageFolder)
            : RunServiceVerb(store, services, options.service,
                             options.paths.empty()
                                 ? PackageWatcherPath(packageFolder, services.WindowsIs64Bit())
                                 : options.paths[0],
                             ServiceDescriptionText(japanese));
    for (const FileReport& report : reports) {
        console.Write(false, FormatReport(report, japanese) + L"\n");
    }
    if (options.service == ServiceVerb::None && options.verb == Verb::Dropped) {
        LetBeRead(console, japanese);
    }
    return ExitCodeOf(reports);
}
