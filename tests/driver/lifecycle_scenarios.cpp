// One wrapper per process, created afresh after each Release; every way CreateBonDriver can fail
// leaves nothing loaded; the path rules, including the 244-character limit and 8.3 paths.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "wrapper_folder.h"

namespace {

const BroadcastTime SomeTime = {2007, 11, 23, 13, 25, 14};
const WCHAR Stem[] = L"BonDriver_Quellap";
TestDriverProbe& Probe = QuellapTestProbe;

const char LoadLibraryFailed[] = "BonDriver_Quellap::CreateBonDriver(): LoadLibrary Failed\n";
const char FactoryCalled[] = "BonDriver_Quellap::CreateBonDriver(): ";
const char DriverReleased[] = "TestDriver::Release()\n";
const char DriverUnloaded[] = "TestDriver::DllMain(): detach\n";

// The captured lines are exactly `lines`, in this order.
void ExpectLines(const char* const* lines, int count) {
    CHECK_EQ(CapturedCount(), count);
    for (int i = 0; i < count && i < CapturedCount(); ++i)
        CHECK_STR(CapturedLine(i), lines[i]);
}

// CreateBonDriver fails as the probe and the folder arrange, writing `lines`. With `starve`
// the driver's factory makes the wrapper's own allocations fail.
void ExpectFailure(const WCHAR* scenario, const WCHAR* driverFile, const char* const* lines,
                   int count, bool starve = false) {
    WrapperFolder folder(scenario);
    CHECK(folder.Place(Stem, driverFile));
    LoadedWrapper library;
    CHECK(library.Load(folder.WrapperPath()));
    if (starve)
        Probe.failAllocationsOf = library.Handle();
    ClearDebugCapture();
    CHECK(library.Create() == nullptr);
    ExpectLines(lines, count);
    CHECK_EQ(Probe.attachCount, Probe.detachCount);
    CHECK(!GetModuleHandleW(folder.DriverPath()));
}

}  // namespace

void LifecycleScenario() {
    ResetProbe();
    UseStandardStream(SomeTime);
    Probe.level = 2;
    WrapperFolder folder(L"lifecycle");
    CHECK(folder.Place(Stem, L"test_driver.dll"));
    LoadedWrapper library;
    CHECK(library.Load(folder.WrapperPath()));

    IBonDriver* first = library.Create();
    CHECK(first != nullptr);
    ClearDebugCapture();
    CHECK(library.Create() == first);
    CHECK_EQ(CapturedCount(), 0);
    CHECK_EQ(Probe.factoryCalls, 1);
    CHECK_EQ(Probe.attachCount, 1);
    if (!first)
        return;
    first->Release();
    CHECK_EQ(Probe.detachCount, 1);

    ClearDebugCapture();
    IBonDriver* second = library.Create();
    CHECK(second != nullptr);
    CHECK_EQ(Probe.factoryCalls, 2);
    CHECK_EQ(Probe.attachCount, 2);
    CHECK_STR(CapturedLine(0), FactoryCalled);
    if (!second)
        return;
    // A new analyser with a new window announces from scratch.
    CHECK(FeedUntilAnnounced(second, SomeTime, Stem));
    second->Release();
    CHECK_EQ(CountOwnAnnounceWindows(), 0);
}

void FailuresScenario() {
    UseStandardStream(SomeTime);

    ResetProbe();
    const char* const missing[] = {LoadLibraryFailed};
    ExpectFailure(L"failures-missing", nullptr, missing, 1);

    ResetProbe();
    const char* const noExport[] = {"BonDriver_Quellap::CreateBonDriver(): GetProcAddress Failed\n",
                                    DriverUnloaded};
    ExpectFailure(L"failures-noexport", L"test_driver_noexport.dll", noExport, 2);
    CHECK_EQ(Probe.detachCount, 1);

    ResetProbe();
    Probe.factoryReturnsNull = true;
    const char* const factoryNull[] = {FactoryCalled, "Failed\n", DriverUnloaded};
    ExpectFailure(L"failures-factory", L"test_driver.dll", factoryNull, 3);
    CHECK_EQ(Probe.factoryCalls, 1);
    CHECK_EQ(Probe.detachCount, 1);

    // The wrapper object cannot be allocated: the driver is released and unloaded.
    ResetProbe();
    const char* const noMemory[] = {FactoryCalled, "return IBonDriver\n", DriverReleased,
                                    DriverUnloaded};
    ExpectFailure(L"failures-memory", L"test_driver.dll", noMemory, 4, true);
    CHECK_EQ(Probe.releaseCalls, 1);
    CHECK_EQ(Probe.detachCount, 1);

    // None of the failures left a live wrapper behind.
    ResetProbe();
    WrapperFolder folder(L"failures-after");
    CHECK(folder.Place(Stem, L"test_driver.dll"));
    LoadedWrapper library;
    CHECK(library.Load(folder.WrapperPath()));
    IBonDriver* wrapper = library.Create();
    CHECK(wrapper != nullptr);
    CHECK_EQ(Probe.factoryCalls, 1);
    if (wrapper)
        wrapper->Release();
}

// The wrapper's long path without extension may have 244 characters, not 245; the name the
// analyser announces is cut to 63.
void PathLimitScenario() {
    UseStandardStream(SomeTime);
    const int limits[] = {244, 245};
    for (int stemPathLength : limits) {
        ResetProbe();
        WrapperFolder folder(stemPathLength == 244 ? L"limit-244" : L"limit-245");
        WCHAR stem[TestPathLength];
        const int nameLength = stemPathLength - lstrlenW(folder.Folder()) - 1;
        CHECK(nameLength > 20 && nameLength < 240);
        if (nameLength <= 20 || nameLength >= 240)
            continue;
        lstrcpyW(stem, L"BonDriver_");
        for (int i = lstrlenW(stem); i < nameLength; ++i)
            stem[i] = WCHAR(L'a' + i % 26);
        stem[nameLength] = 0;
        CHECK(folder.Place(stem, L"test_driver.dll"));
        CHECK_EQ(lstrlenW(folder.WrapperPath()), stemPathLength + 4);
        LoadedWrapper library;
        CHECK(library.Load(folder.WrapperPath()));
        ClearDebugCapture();
        IBonDriver* wrapper = library.Create();
        if (stemPathLength == 245) {
            CHECK(wrapper == nullptr);
            const char* const lines[] = {LoadLibraryFailed};
            ExpectLines(lines, 1);
            CHECK_EQ(Probe.attachCount, 0);
            continue;
        }
        CHECK(wrapper != nullptr);
        CHECK_EQ(Probe.factoryCalls, 1);
        if (!wrapper)
            continue;
        stem[63] = 0;
        CHECK(FeedUntilAnnounced(wrapper, SomeTime, stem));
        wrapper->Release();
    }
}

// Loaded under its 8.3 path, the wrapper still finds the driver under its long name and
// announces its long name.
void ShortPathScenario() {
    ResetProbe();
    UseStandardStream(SomeTime);
    const WCHAR longStem[] = L"BonDriver_Quellap Long Name";
    WrapperFolder folder(L"short-path");
    CHECK(folder.Enter(L"A Folder With A Long Name"));
    CHECK(folder.Place(longStem, L"test_driver.dll"));
    WCHAR shortPath[TestPathLength];
    CHECK(GetShortPathNameW(folder.WrapperPath(), shortPath, TestPathLength) > 0);
    CHECK(lstrcmpiW(shortPath, folder.WrapperPath()) != 0);
    LoadedWrapper library;
    CHECK(library.Load(shortPath));
    WCHAR loadedAs[TestPathLength];
    GetModuleFileNameW(library.Handle(), loadedAs, TestPathLength);
    CHECK_TEXT(loadedAs, shortPath);
    IBonDriver* wrapper = library.Create();
    CHECK(wrapper != nullptr);
    if (!wrapper)
        return;
    CHECK(FeedUntilAnnounced(wrapper, SomeTime, longStem));
    wrapper->Release();
}
