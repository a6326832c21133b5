// bonhost: a console host for tuner drivers. It loads a driver by path as a TV program does,
// reports the interface level that run-time type queries find, opens the tuner and pulls its
// stream for a while, counting what arrives (bonhost_options.cpp has the usage text).
#include "bonhost_options.h"
#include "console_print.h"
#include "stream_pull.h"

#include <shellapi.h>

namespace {

typedef IBonDriver*(__cdecl* CreateBonDriverFunction)();

// What has been obtained so far, given back in reverse order whatever step fails.
struct HostedDriver {
    HANDLE Save = nullptr;
    HMODULE Module = nullptr;
    IBonDriver* Driver = nullptr;
    bool Open = false;

    ~HostedDriver() {
        if (Open)
            Driver->CloseTuner();
        if (Driver)
            Driver->Release();
        if (Module)
            FreeLibrary(Module);
        if (Save)
            CloseHandle(Save);
    }
};

int Fail(const char* what, const WCHAR* path = nullptr) {
    const DWORD error = GetLastError();
    if (path)
        PrintError("bonhost: %s %s (error %lu)\n", what, Utf8(path), error);
    else
        PrintError("bonhost: %s\n", what);
    return 1;
}

const char* LevelName(IBonDriver* driver, IBonDriver2*& driver2) {
    driver2 = dynamic_cast<IBonDriver2*>(driver);
    if (!driver2)
        return "IBonDriver";
    return dynamic_cast<IBonDriver3*>(driver2) ? "IBonDriver3" : "IBonDriver2";
}

BOOL SetChannel(IBonDriver* driver, IBonDriver2* driver2, const BonhostOptions& options) {
    return driver2 ? driver2->SetChannel(options.Space, options.Channel)
                   : driver->SetChannel(BYTE(options.Channel));
}

int Run(const BonhostOptions& options) {
    HostedDriver host;
    if (options.SavePath) {
        host.Save = CreateFileW(options.SavePath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (host.Save == INVALID_HANDLE_VALUE) {
            host.Save = nullptr;
            return Fail("cannot create", options.SavePath);
        }
    }
    Print("driver: %s\n", Utf8(options.DriverPath));
    if (!(host.Module = LoadLibraryW(options.DriverPath)))
        return Fail("cannot load", options.DriverPath);
    const CreateBonDriverFunction create = reinterpret_cast<CreateBonDriverFunction>(
        GetProcAddress(host.Module, "CreateBonDriver"));
    if (!create)
        return Fail("no CreateBonDriver export in", options.DriverPath);
    if (!(host.Driver = create()))
        return Fail("CreateBonDriver returned NULL");
    IBonDriver2* driver2 = nullptr;
    Print("interface: %s\n", LevelName(host.Driver, driver2));
    if (driver2) {
        const WCHAR* name = driver2->GetTunerName();
        Print("tuner: %s\n", name ? Utf8(name) : "");
    }
    if (!(host.Open = host.Driver->OpenTuner() != FALSE))
        return Fail("OpenTuner failed");
    if (options.HasChannel && !SetChannel(host.Driver, driver2, options))
        return Fail("SetChannel failed");
    if (!PullStream(host.Driver, options, host.Save))
        return Fail("cannot write", options.SavePath);
    return 0;
}

}  // namespace

int main(int, char**) {
    // A TV program's windows connect it to the desktop it was started on before the driver's
    // thread makes its announcement window. This host has none, and under Wine a thread that
    // asks first lands on the default desktop instead: the main thread asks now.
    GetDesktopWindow();
    int argc = 0;
    WCHAR** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return Fail("cannot read the command line");
    BonhostOptions options;
    const ParseResult parsed = ParseOptions(argc, argv, options);
    const int status = parsed == ParseResult::Run ? Run(options)
                       : parsed == ParseResult::Help ? (Print("%s", BonhostUsage), 0)
                                                     : (PrintError("%s", BonhostUsage), 2);
    LocalFree(argv);
    return status;
}
