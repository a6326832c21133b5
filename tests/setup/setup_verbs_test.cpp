// The setup's decisions on an in-memory folder holding the project's real DLLs: every failing
// step put back, programs holding files, the refusals, half-done places, updates and folders.
#include <gtest/gtest.h>

#include "built_images.h"
#include "fake_folders.h"
#include "setup_run.h"

namespace {

const std::wstring Package = L"C:\\Quellap", Folder = L"C:\\TV";
const std::wstring Driver = Folder + L"\\BonDriver_T.dll", Settings = Folder + L"\\BonDriver_T.ini";
const std::wstring Renamed = Folder + L"\\BonDriver_T_Quellapped.dl_";
const std::wstring Copy = Folder + L"\\BonDriver_T_Quellapped.ini";
const FileBytes SettingsText = {'[', 'T', ']', '\r', '\n'};

class SetupVerbsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Wrapper86.empty() || Wrapper64.empty() || Driver86.empty() || Driver64.empty()) {
            GTEST_SKIP() << "the MSVC-ABI trees are not built under " << QUELLAP_BUILD_ROOT;
        }
        Store.files.insert({Package + L"\\x86\\BonDriver_Quellap.dll", Wrapper86});
        Store.files.insert({Package + L"\\x64\\BonDriver_Quellap.dll", Wrapper64});
    }

    std::vector<FileReport> RunAll(Verb verb, const std::vector<std::wstring>& paths)
    {
        return RunVerb(Store, verb, ReadPackageWrappers(Store, Package), paths);
    }
    FileReport Run(Verb verb, const std::wstring& path = Driver)
    {
        return RunAll(verb, {path}).at(0);
    }
    // The folder holds `files`, the package both wrappers unless `files` has others.
    void Stage(const std::map<std::wstring, FileBytes>& files)
    {
        Store = FakeFolders();
        Store.files = files;
        SetUp();
    }

    const FileBytes Wrapper86 = BuiltImage("wrapper", "x86"), Wrapper64 = BuiltImage("wrapper", "x64");
    const FileBytes Driver86 = BuiltImage("tsfile", "x86"), Driver64 = BuiltImage("tsfile", "x64");
    FakeFolders Store;
};

// The id of a report's last note (failures and refusals put back have exactly one).
Message LastNote(const FileReport& report)
{
    return report.notes.empty() ? Message::Count : report.notes.back().id;
}

// Each scenario once for every step failing, then with none failing. An update is one step, so
// the driver is loadable at every moment.
TEST_F(SetupVerbsTest, EveryFailingStepIsPutBackAndTheRoundTripGivesBackEveryFile)
{
    const std::map<std::wstring, FileBytes> plain = {{Driver, Driver86}, {Settings, SettingsText}};
    const std::map<std::wstring, FileBytes> wrapped = {
        {Driver, Wrapper86}, {Renamed, Driver86}, {Settings, SettingsText}, {Copy, SettingsText}};
    std::map<std::wstring, FileBytes> older = wrapped, mismatch = wrapped, unwrapCut = plain;
    older[Driver] = WithMajorVersion(Wrapper86, 0);
    mismatch[Driver] = Wrapper64;
    unwrapCut[Copy] = SettingsText;  // an unwrap interrupted before its last step
    const struct {
        Verb verb;
        const std::map<std::wstring, FileBytes>& before;
        const std::map<std::wstring, FileBytes>& after;
        Message done;
        int steps;
    } scenarios[] = {
        {Verb::Wrap, plain, wrapped, Message::WrapDone, 3},
        {Verb::Unwrap, wrapped, plain, Message::UnwrapDone, 3},
        {Verb::Update, older, wrapped, Message::UpdateDone, 1},
        {Verb::Update, mismatch, wrapped, Message::UpdateDone, 1},
        {Verb::Unwrap, unwrapCut, plain, Message::UnwrapCopyLeft, 1},
    };
    for (const auto& scenario : scenarios) {
        for (int failing = 0;; ++failing) {
            SCOPED_TRACE(failing);
            Stage(scenario.before);
            const auto before = Store.files;
            Store.failingChange = failing;
            const FileReport report = Run(scenario.verb);
            if (Store.changes <= failing) {  // every step done
                EXPECT_EQ(scenario.steps, failing);
                EXPECT_EQ(scenario.done, report.result.id);
                const auto result = Store.files;
                Stage(scenario.after);
                EXPECT_EQ(Store.files, result);
                break;
            }
            EXPECT_TRUE(report.failed);
            EXPECT_EQ(Message::NoteNothingChanged, LastNote(report));
            EXPECT_EQ(before, Store.files);
        }
    }
}

// A loaded DLL, a read-only file and a deny entry all refuse a delete; each is told apart.
TEST_F(SetupVerbsTest, EachCauseOfADenialIsToldAndChangesNothing)
{
    Stage({{Driver, Driver86}});
    Store.loaded = {Driver};  // renamed all the same: the program uses the wrapper when it restarts
    EXPECT_EQ(Message::NoteLoadedUntilRestart, LastNote(Run(Verb::Wrap)));

    const struct {
        std::set<std::wstring> FakeFolders::*files;
        Message expected;
    } causes[] = {{&FakeFolders::loaded, Message::RefuseInUse},
                  {&FakeFolders::readOnly, Message::RefuseReadOnly},
                  {&FakeFolders::denied, Message::RefuseDenied}};
    for (const auto& cause : causes) {
        for (Verb verb : {Verb::Unwrap, Verb::Update}) {
            Stage({{Driver, WithMajorVersion(Wrapper86, 0)}, {Renamed, Driver86}});
            Store.*cause.files = {Driver, Renamed};
            const auto before = Store.files;
            const FileReport report = Run(verb);
            EXPECT_EQ(cause.expected, report.result.id);
            EXPECT_EQ(L"BonDriver_T.dll", report.result.args.at(0));
            EXPECT_EQ(before, Store.files);
        }
    }
}

TEST_F(SetupVerbsTest, RefusalsAndFindingsChangeNothing)
{
    FileBytes arm = Driver86;
    arm[arm[0x3C] + 4] = 0xC4, arm[arm[0x3C] + 5] = 0x01;  // the machine: ARM
    // 245 characters without the extension; the wrapper handles 244.
    const std::wstring deep = L"C:\\" + std::wstring(230, L'd') + L"\\BonDriver_T.dll";
    const std::wstring x64 = Package + L"\\x64\\BonDriver_Quellap.dll";
    const struct {
        std::map<std::wstring, FileBytes> files;
        Verb verb;
        std::wstring path;
        Message expected;
    } cases[] = {
        {{{Driver, WithoutDriverExport(Driver86)}}, Verb::Wrap, Driver, Message::RefuseNotDriver},
        {{{Driver, arm}}, Verb::Wrap, Driver, Message::RefuseOtherMachine},
        {{{Driver, Driver64}, {x64, Wrapper86}}, Verb::Wrap, Driver, Message::RefuseNoWrapper},
        {{{deep, Driver86}}, Verb::Wrap, deep, Message::RefusePathTooLong},
        {{{Driver, Driver86}}, Verb::Wrap, Folder, Message::RefuseFolder},
        {{{Driver, Driver86}}, Verb::Unwrap, Driver, Message::RefuseNotWrapped},
        {{{Driver, Wrapper86}}, Verb::Unwrap, Driver, Message::RefuseWrapperAlone},
        {{}, Verb::Unwrap, Driver, Message::RefuseNotFound},
        {{{Driver, Driver64}}, Verb::Update, Driver, Message::Plain},  // only told
        {{{Driver, Wrapper86}, {Renamed, Driver86}}, Verb::Update, Driver, Message::UpToDate},
        {{{Driver, Wrapper64}, {Renamed, Driver86}}, Verb::Status, Driver, Message::Mismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.expected));
        Stage(c.files);
        const auto before = Store.files;
        EXPECT_EQ(c.expected, Run(c.verb, c.path).result.id);
        EXPECT_EQ(0, Store.changes);
        EXPECT_EQ(before, Store.files);
    }
    Stage({{Driver, Driver64}});
    Store.writableError = ErrorAccessDenied;
    EXPECT_EQ(Message::RefuseNotWritable, Run(Verb::Wrap).result.id);
    Store.writableError = 0;
    const std::wstring deepest = L"C:\\" + std::wstring(229, L'd') + L"\\BonDriver_T.dll";
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
    Stage({{Driver, Wrapper86}, {Renamed, Driver86}, {Settings, SettingsText}});
    EXPECT_EQ(Message::NoteSettingsNotCopied, LastNote(Run(Verb::Status)));
    EXPECT_EQ(Message::WrapSettings, Run(Verb::Wrap).result.id);
    EXPECT_EQ(SettingsText, Store.files[Copy]);
    // A copy changed since stays; so does one that another program holds and so is not read.
    Store.files[Copy].push_back('x');
    EXPECT_EQ(Message::NoteCopyKept, LastNote(Run(Verb::Unwrap)));
    EXPECT_EQ(1u, Store.files.count(Copy));
    Stage({{Driver, Wrapper86}, {Renamed, Driver86}, {Settings, SettingsText},
           {Copy, SettingsText}});
    Store.readErrors[Copy] = ErrorSharingViolation;
    EXPECT_EQ(Message::NoteCopyUnread, LastNote(Run(Verb::Unwrap)));
    EXPECT_EQ(1u, Store.files.count(Copy));
}

// What an interrupted run leaves: its temporary files and an unwrap's settings copy are named
// by status; a changing run removes its temporary files, a wrap tells a copy that differs.
TEST_F(SetupVerbsTest, LeftoversOfInterruptedRunsAreNamedAndRemoved)
{
    const std::wstring held = Folder + L"\\~QuellapSetup-00000001.tmp";
    const std::wstring left = Folder + L"\\~quellapsetup-0000BEEF.TMP";
    const std::wstring others = Folder + L"\\~QuellapSetup-1.tmp";
    Stage({{Driver, Driver86}, {Settings, SettingsText}, {Copy, {'o', 'l', 'd'}}, {held, {}},
           {left, Wrapper86}, {others, {}}});
    Store.loaded = {held};  // a running QuellapSetup holds its own
    std::vector<FileReport> reports = RunAll(Verb::Status, {Folder});
    ASSERT_EQ(3u, reports.size());
    EXPECT_EQ(Message::Leftover, reports[1].result.id);
    EXPECT_EQ(Message::NoteCopyLeftOver, LastNote(reports[2]));

    reports = RunAll(Verb::Wrap, {Driver});
    ASSERT_EQ(3u, reports.size());
    EXPECT_EQ(Message::LeftoverKept, reports[0].result.id);
    EXPECT_EQ(Message::LeftoverRemoved, reports[1].result.id);
    EXPECT_EQ(Message::NoteCopyDiffers, LastNote(reports[2]));
    EXPECT_EQ(0, ExitCodeOf(reports));
    EXPECT_EQ(0u, Store.files.count(left));
    EXPECT_EQ(2u, Store.files.count(held) + Store.files.count(others)) << "held, and not ours";
    EXPECT_EQ(FileBytes({'o', 'l', 'd'}), Store.files[Copy]);
}

TEST_F(SetupVerbsTest, FoldersListEachDriverOnceAndDroppedFilesWrapOnlyPlainDrivers)
{
    const std::wstring a = Folder + L"\\BonDriver_A.dll", b = Folder + L"\\BonDriver_b.dll";
    Stage({{a, Driver86}, {b, Wrapper64}, {Folder + L"\\BonDriver_b_Quellapped.dl_", Driver64},
           {Folder + L"\\readme.txt", SettingsText}, {Folder + L"\\docs\\read.me", SettingsText}});
    EXPECT_EQ(Message::FolderEmpty, RunAll(Verb::Update, {Folder + L"\\docs"}).at(0).result.id);
    std::vector<FileReport> reports =
        RunAll(Verb::Status, {Folder, Folder + L"\\BonDriver_b_Quellapped.dl_", L"C:\\None.dll"});
    ASSERT_EQ(3u, reports.size());
    EXPECT_EQ(Message::Plain, reports[0].result.id);
    EXPECT_EQ(b, reports[1].path);
    EXPECT_EQ(Message::Wrapped, reports[1].result.id);
    EXPECT_EQ(Message::NotFound, reports[2].result.id);
    EXPECT_EQ(1, ExitCodeOf(reports));

    Store.files[Folder + L"\\BonDriver_E.dll"] = Driver64;
    reports = RunAll(Verb::Dropped, {a, b, Folder});
    ASSERT_EQ(3u, reports.size());
    EXPECT_EQ(Message::WrapDone, reports[0].result.id);
    EXPECT_EQ(Message::Wrapped, reports[1].result.id);
    EXPECT_EQ(Message::Plain, reports[2].result.id) << "a dropped folder is only looked at";
    EXPECT_EQ(0, ExitCodeOf(reports));
}

}  // namespace
