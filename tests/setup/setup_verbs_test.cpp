// The setup's decisions on an in-memory folder holding the project's real DLLs: round trips,
// every failing step put back, programs holding files, each refusal, half-done places, updates
// and whole folders.
#include <gtest/gtest.h>

#include <functional>

#include "built_images.h"
#include "fake_folders.h"
#include "setup_run.h"
#include "slot_status.h"

namespace {

const std::wstring Package = L"C:\\Quellap";
const std::wstring Folder = L"C:\\TV";
const std::wstring Driver = Folder + L"\\BonDriver_T.dll";
const std::wstring Renamed = Folder + L"\\BonDriver_T_Quellapped.dl_";
const std::wstring Settings = Folder + L"\\BonDriver_T.ini";
const std::wstring Copy = Folder + L"\\BonDriver_T_Quellapped.ini";
const FileBytes SettingsText = {'[', 'T', ']', '\r', '\n'};

class SetupVerbsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Wrapper86.empty() || Wrapper64.empty() || Driver86.empty() || Driver64.empty()) {
            GTEST_SKIP() << "the MSVC-ABI trees are not built under " << QUELLAP_BUILD_ROOT;
        }
        Store.files[Package + L"\\x86\\BonDriver_Quellap.dll"] = Wrapper86;
        Store.files[Package + L"\\x64\\BonDriver_Quellap.dll"] = Wrapper64;
    }

    std::vector<FileReport> RunAll(Verb verb, const std::vector<std::wstring>& paths)
    {
        return RunVerb(Store, verb, ReadPackageWrappers(Store, Package), paths);
    }
    FileReport Run(Verb verb, const std::wstring& path = Driver)
    {
        const std::vector<FileReport> reports = RunAll(verb, {path});
        return reports.size() == 1 ? reports[0] : FileReport{};
    }
    // The folder holds `files`, the package both wrappers.
    void Stage(const std::map<std::wstring, FileBytes>& files)
    {
        Store.files = files;
        SetUp();
    }
    // Wrapped by hand: `wrapper` in front of `driver`, the settings copied.
    void InstallWrapped(const FileBytes& wrapper, const FileBytes& driver)
    {
        Stage({{Driver, wrapper}, {Renamed, driver}, {Settings, SettingsText},
               {Copy, SettingsText}});
    }

    const FileBytes Wrapper86 = BuiltWrapper("x86");
    const FileBytes Wrapper64 = BuiltWrapper("x64");
    const FileBytes Driver86 = BuiltFileDriver("x86");
    const FileBytes Driver64 = BuiltFileDriver("x64");
    FakeFolders Store;
};

bool HasNote(const FileReport& report, Message id)
{
    for (const ReportLine& note : report.notes) {
        if (note.id == id) return true;
    }
    return false;
}

TEST_F(SetupVerbsTest, WrapStatusUnwrapGivesBackEveryFile)
{
    Store.files[Driver] = Driver86;
    Store.files[Settings] = SettingsText;
    const auto before = Store.files;

    FileReport report = Run(Verb::Wrap);
    EXPECT_EQ(Message::WrapDone, report.result.id);
    EXPECT_TRUE(HasNote(report, Message::NoteSettingsCopied));
    EXPECT_EQ(Wrapper86, Store.files[Driver]);
    EXPECT_EQ(Driver86, Store.files[Renamed]);
    EXPECT_EQ(SettingsText, Store.files[Copy]);
    report = Run(Verb::Status);
    EXPECT_EQ(Message::Wrapped, report.result.id);
    const std::wstring version = VersionText(ReadPackageWrappers(Store, Package).x86.facts.version);
    EXPECT_EQ((std::vector<std::wstring>{version, L"x86", L"BonDriver_T_Quellapped.dl_", L"x86"}),
              report.result.args);
    EXPECT_EQ(Message::UnwrapDone, Run(Verb::Unwrap).result.id);
    EXPECT_EQ(before, Store.files);

    // A copy the user has changed since stays.
    Run(Verb::Wrap);
    Store.files[Copy].push_back('x');
    report = Run(Verb::Unwrap);
    EXPECT_TRUE(HasNote(report, Message::NoteCopyKept));
    EXPECT_EQ(Driver86, Store.files[Driver]);
    EXPECT_EQ(1u, Store.files.count(Copy));
    EXPECT_EQ(0u, Store.files.count(Renamed));
}

TEST_F(SetupVerbsTest, EveryFailingStepIsPutBack)
{
    const FileBytes oldWrapper = WithMajorVersion(Wrapper86, 0);
    const struct {
        Verb verb;
        std::function<void()> stage;
        int steps;
    } scenarios[] = {
        {Verb::Wrap, [&] { Stage({{Driver, Driver86}, {Settings, SettingsText}}); }, 3},
        {Verb::Unwrap, [&] { InstallWrapped(Wrapper86, Driver86); }, 3},
        {Verb::Update, [&] { InstallWrapped(oldWrapper, Driver86); }, 2},
    };
    for (const auto& scenario : scenarios) {
        int failing = 0;
        for (;; ++failing) {
            scenario.stage();
            const auto before = Store.files;
            Store.failingChange = failing;
            Store.changes = 0;
            const FileReport report = Run(scenario.verb);
            if (Store.changes <= failing) break;  // every step done
            SCOPED_TRACE(failing);
            EXPECT_TRUE(report.failed);
            EXPECT_TRUE(HasNote(report, Message::NoteNothingChanged));
            EXPECT_EQ(before, Store.files);
        }
        EXPECT_EQ(scenario.steps, failing);
    }
}

TEST_F(SetupVerbsTest, AProgramHoldingTheFilesLetsWrapWorkAndMakesTheRestRefuse)
{
    Store.files[Driver] = Driver86;
    Store.loaded = {Driver};
    EXPECT_EQ(Message::WrapDone, Run(Verb::Wrap).result.id) << "a loaded file can be renamed";

    InstallWrapped(WithMajorVersion(Wrapper86, 0), Driver86);
    Store.loaded = {Driver, Renamed};
    const auto before = Store.files;
    for (Verb verb : {Verb::Unwrap, Verb::Update}) {
        const FileReport report = Run(verb);
        EXPECT_EQ(Message::RefuseInUse, report.result.id);
        EXPECT_EQ(L"BonDriver_T.dll", report.result.args.at(0));
        EXPECT_TRUE(HasNote(report, Message::NoteNothingChanged));
        EXPECT_EQ(before, Store.files);
    }
}

TEST_F(SetupVerbsTest, RefusalsChangeNothing)
{
    FileBytes arm = Driver86;
    arm[arm[0x3C] + 4] = 0xC4;  // the machine: ARM
    arm[arm[0x3C] + 5] = 0x01;
    // 245 characters without the extension; the wrapper handles 244.
    const std::wstring deep = L"C:\\" + std::wstring(230, L'd') + L"\\BonDriver_T.dll";
    const struct {
        const char* name;
        std::map<std::wstring, FileBytes> files;
        Verb verb;
        std::wstring path;
        Message expected;
    } cases[] = {
        {"not a driver", {{Driver, WithoutDriverExport(Driver86)}}, Verb::Wrap, Driver,
         Message::RefuseNotDriver},
        {"already wrapped", {{Driver, Wrapper86}, {Renamed, Driver86}}, Verb::Wrap, Driver,
         Message::RefuseAlreadyWrapped},
        {"no wrapper for ARM", {{Driver, arm}}, Verb::Wrap, Driver, Message::RefuseOtherMachine},
        {"target exists", {{Driver, Driver86}, {Renamed, SettingsText}}, Verb::Wrap, Driver,
         Message::RefuseTargetExists},
        {"path too long", {{deep, Driver86}}, Verb::Wrap, deep, Message::RefusePathTooLong},
        {"a folder", {{Driver, Driver86}}, Verb::Wrap, Folder, Message::RefuseFolder},
        {"not wrapped", {{Driver, Driver86}}, Verb::Unwrap, Driver, Message::RefuseNotWrapped},
        {"wrapper alone", {{Driver, Wrapper86}}, Verb::Unwrap, Driver, Message::RefuseWrapperAlone},
        {"not found", {}, Verb::Unwrap, Driver, Message::RefuseNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Store.changes = 0;
        Stage(c.files);
        const auto before = Store.files;
        const FileReport report = Run(c.verb, c.path);
        EXPECT_EQ(c.expected, report.result.id);
        EXPECT_TRUE(report.failed);
        EXPECT_EQ(0, Store.changes);
        EXPECT_EQ(before, Store.files);
    }
    Stage({{Driver, Driver64}});
    Store.writableError = ErrorAccessDenied;
    EXPECT_EQ(Message::RefuseNotWritable, Run(Verb::Wrap).result.id);
    Store.files = {{Driver, Driver64}, {Package + L"\\x64\\BonDriver_Quellap.dll", Wrapper86}};
    EXPECT_EQ(Message::RefuseNoWrapper, Run(Verb::Wrap).result.id) << "an x86 wrapper in x64";
    EXPECT_EQ(0, Store.changes);

    const std::wstring deepest = L"C:\\" + std::wstring(229, L'd') + L"\\BonDriver_T.dll";
    Store.writableError = 0;
    Stage({{deepest, Driver86}});
    EXPECT_EQ(Message::WrapDone, Run(Verb::Wrap, deepest).result.id);
}

TEST_F(SetupVerbsTest, HalfDonePlacesAreReportedFinishedAndUndone)
{
    const auto halfDone = [&] { Stage({{Renamed, Driver86}, {Settings, SettingsText}}); };
    halfDone();
    EXPECT_EQ(Message::HalfDone, Run(Verb::Status).result.id);
    EXPECT_EQ(Message::WrapFinished, Run(Verb::Wrap).result.id);
    EXPECT_EQ(Wrapper86, Store.files[Driver]);
    EXPECT_EQ(SettingsText, Store.files[Copy]);
    halfDone();
    EXPECT_EQ(Message::UnwrapFinished, Run(Verb::Unwrap).result.id);
    EXPECT_EQ(Driver86, Store.files[Driver]);
    EXPECT_EQ(0u, Store.files.count(Renamed));

    // Wrapped, but the settings file was not copied yet: status tells, wrap copies it.
    InstallWrapped(Wrapper86, Driver86);
    Store.files.erase(Copy);
    EXPECT_TRUE(HasNote(Run(Verb::Status), Message::NoteSettingsNotCopied));
    EXPECT_EQ(Message::WrapSettings, Run(Verb::Wrap).result.id);
    EXPECT_EQ(SettingsText, Store.files[Copy]);
}

TEST_F(SetupVerbsTest, UpdateReplacesOtherVersionsAndMachinesOnly)
{
    InstallWrapped(WithMajorVersion(Wrapper86, 0), Driver86);
    EXPECT_EQ(Message::UpdateDone, Run(Verb::Update).result.id);
    EXPECT_EQ(Wrapper86, Store.files[Driver]);

    InstallWrapped(Wrapper64, Driver86);
    EXPECT_EQ(Message::Mismatch, Run(Verb::Status).result.id);
    const FileReport report = Run(Verb::Update);
    EXPECT_EQ(Message::UpdateDone, report.result.id);
    EXPECT_EQ(L"x64", report.result.args.at(1));
    EXPECT_EQ(Wrapper86, Store.files[Driver]);

    Store.changes = 0;
    EXPECT_EQ(Message::UpToDate, Run(Verb::Update).result.id);
    EXPECT_EQ(0, Store.changes);
}

TEST_F(SetupVerbsTest, FoldersListEachDriverOnceAndDroppedFilesWrapOnlyPlainDrivers)
{
    Store.files[Folder + L"\\BonDriver_A.dll"] = Driver86;
    Store.files[Folder + L"\\BonDriver_b.dll"] = Wrapper64;
    Store.files[Folder + L"\\BonDriver_b_Quellapped.dl_"] = Driver64;
    Store.files[Folder + L"\\BonDriver_C_Quellapped.dl_"] = Driver64;
    Store.files[Folder + L"\\readme.txt"] = SettingsText;
    Store.files[Folder + L"\\sub\\BonDriver_D.dll"] = Driver86;
    Store.files[Folder + L"\\docs\\read.me"] = SettingsText;
    std::vector<FileReport> reports =
        RunAll(Verb::Status, {Folder, Folder + L"\\BonDriver_b_Quellapped.dl_", L"C:\\None.dll"});
    ASSERT_EQ(4u, reports.size());
    EXPECT_EQ(Message::Plain, reports[0].result.id);
    EXPECT_EQ(Folder + L"\\BonDriver_b.dll", reports[1].path);
    EXPECT_EQ(Message::Wrapped, reports[1].result.id);
    EXPECT_EQ(Message::HalfDone, reports[2].result.id);
    EXPECT_EQ(Message::NotFound, reports[3].result.id);
    EXPECT_EQ(1, ExitCodeOf(reports));

    Store.files[Folder + L"\\BonDriver_E.dll"] = Driver64;
    reports = RunAll(Verb::Dropped, {Folder + L"\\BonDriver_A.dll", Folder + L"\\BonDriver_b.dll",
                                     Folder});
    ASSERT_EQ(4u, reports.size());
    EXPECT_EQ(Message::WrapDone, reports[0].result.id);
    EXPECT_EQ(Message::Wrapped, reports[1].result.id);
    EXPECT_EQ(Message::HalfDone, reports[2].result.id) << "a dropped folder is only looked at";
    EXPECT_EQ(Message::Plain, reports[3].result.id);
    EXPECT_EQ(0, ExitCodeOf(reports));
    EXPECT_EQ(Message::FolderEmpty, RunAll(Verb::Update, {Folder + L"\\docs"}).at(0).result.id);
}

}  // namespace
