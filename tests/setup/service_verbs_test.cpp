// The service verbs on an in-memory machine: which programs the folder rule lets a service run,
// and install and uninstall put back whatever step fails.
#include <gtest/gtest.h>

#include "built_images.h"
#include "fake_folders.h"
#include "fake_services.h"
#include "service_verbs.h"

namespace {

const std::wstring Folder = L"C:\\Program Files\\Quellap";
const std::wstring Program = Folder + L"\\Horavant.exe", Settings = Folder + L"\\Horavant.ini";
const std::wstring CommandLine = L"\"" + Program + L"\" --service";
const std::wstring Everyone = L"S-1-1-0", AuthenticatedUsers = L"S-1-5-11";

class ServiceVerbsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const FileBytes image = BuiltImage("tsfile", "x64");
        if (image.empty()) GTEST_SKIP() << "the MSVC-ABI x64 tree is not built";
        Store.files = {{Program, AsProgram(image)}, {Settings, {'[', 'H', ']'}}};
    }
    FileReport Run(ServiceVerb verb, const std::wstring& program = Program)
    {
        return RunServiceVerb(Store, Machine, verb, program, L"clock").at(0);
    }

    FakeFolders Store;
    FakeServices Machine;
};

Message LastNote(const FileReport& report)
{
    return report.notes.empty() ? Message::Count : report.notes.back().id;
}

// Each object on the way to the program with one more owner or entry: refused (naming the
// object and the principal) or accepted.
TEST_F(ServiceVerbsTest, OnlyAProgramThatNobodyElseCanChangeBecomesTheService)
{
    const std::wstring programFiles = L"C:\\Program Files", root = L"C:\\";
    const Message accepted = Message::ServiceInstalled, refused = Message::RefuseOthersCanChange;
    const struct {
        std::wstring path;
        std::wstring sid;
        uint32_t mask;  // 0: `sid` becomes the owner
        Message expected;
    } cases[] = {
        {Program, UsersSid, RightWriteData, refused},
        {Program, UsersSid, RightAppendData, refused},
        {Program, AuthenticatedUsers, RightDelete, refused},
        {Program, Everyone, RightWriteDac, refused},
        {Program, UsersSid, RightWriteOwner, refused},
        {Program, UsersSid, RightGenericWrite, refused},
        {Program, UsersSid, RightGenericAll, refused},
        {Program, UsersSid, 0, refused},
        {Program, L"S-1-5-18", RightGenericAll, accepted},
        {Program, InstallingAdminSid, 0, accepted},
        {Settings, UsersSid, RightWriteData, refused},
        {Folder, UsersSid, RightWriteData, refused},  // a DLL planted beside the program
        {Folder, UsersSid, RightDeleteChild, refused},
        {Folder, L"S-1-5-32-544", 0, accepted},
        {programFiles, UsersSid, RightDeleteChild, refused},
        {programFiles, UsersSid, RightDelete, refused},  // renamed, and another put in its place
        {programFiles, UsersSid, RightWriteData | RightAppendData, accepted},
        {programFiles, UsersSid, 0, refused},
        {root, AuthenticatedUsers, RightAppendData | RightDelete, accepted},  // as on Windows
        {root, AuthenticatedUsers, RightDeleteChild, refused},
        {root, UsersSid, RightWriteDac, refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + L" " + c.sid + L" " + std::to_wstring(c.mask));
        Machine = FakeServices();
        FileSecurity& security = Machine.security[c.path] = AdminOnly();
        if (c.mask == 0) security.owner = c.sid;
        if (c.mask != 0) security.allowed.push_back({c.sid, c.mask, false});
        const FileReport report = Run(ServiceVerb::Install);
        EXPECT_EQ(c.expected, report.result.id);
        if (c.expected == refused) {
            const std::vector<std::wstring> args = {c.path, L"<" + c.sid + L">", programFiles};
            EXPECT_EQ(args, report.result.args);
            EXPECT_FALSE(Machine.now.registered);
        }
    }
    Machine = FakeServices();
    Machine.security[Folder].nullDacl = true;
    EXPECT_EQ(L"<S-1-1-0>", Run(ServiceVerb::Install).result.args.at(1)) << "no list: everyone";
    Machine = FakeServices();
    Machine.unreadable = {Settings};
    EXPECT_EQ(Message::RefuseSecurityUnread, Run(ServiceVerb::Install).result.id);

    const std::wstring inProfile = L"C:\\users\\Bob\\Quellap\\Horavant.exe";
    const std::wstring besideProfiles = L"C:\\Users2\\Horavant.exe";
    Store.files[inProfile] = Store.files[besideProfiles] = Store.files[Program];
    Machine = FakeServices();
    EXPECT_EQ(Message::RefuseInProfile, Run(ServiceVerb::Install, inProfile).result.id);
    EXPECT_EQ(accepted, Run(ServiceVerb::Install, besideProfiles).result.id);
    Machine = FakeServices();
    EXPECT_EQ(Message::RefuseNotProgram, Run(ServiceVerb::Install, Settings).result.id);
    EXPECT_EQ(Message::RefuseProgramNotFound,
              Run(ServiceVerb::Install, Folder + L"\\x.exe").result.id);
}

// Every step failing in turn: all is as before (a failing restart setting only warns); an undo
// that fails is named. A prompt that is not elevated changes nothing.
TEST_F(ServiceVerbsTest, InstallAndUninstallChangeAllOrNothing)
{
    const ServiceMachine nothing = {false, false, {}, {}, L"C:\\Old\\Horavant.exe"};
    const ServiceMachine installed = {true, true, CommandLine, L"clock", Program};
    for (const char* failing :
         {"", "Create", "Describe", "RestartAfterFailure", "WriteEventSource", "Start"}) {
        SCOPED_TRACE(failing);
        Machine.now = nothing;
        Machine.failing = {failing};
        Machine.timeSyncs = true;
        const FileReport report = Run(ServiceVerb::Install);
        const bool warns = std::string(failing) == "RestartAfterFailure";
        EXPECT_EQ(*failing != 0 && !warns, report.failed);
        EXPECT_EQ(*failing != 0 && !warns ? nothing : installed, Machine.now);
        EXPECT_EQ(report.failed ? Message::NoteNothingChanged : Message::NoteWindowsTime,
                  LastNote(report));
        EXPECT_EQ(warns, !report.failed && report.notes.at(0).id == Message::NoteNoRestart);
    }
    for (const char* failing : {"", "Stop", "RemoveEventSource", "Delete"}) {
        SCOPED_TRACE(failing);
        Machine.now = installed;
        Machine.failing = {failing};
        const FileReport report = Run(ServiceVerb::Uninstall);
        EXPECT_EQ(*failing != 0, report.failed);
        EXPECT_EQ(*failing != 0 ? installed : ServiceMachine(), Machine.now);
    }
    Machine.now = nothing;
    Machine.failing = {"Start", "Delete"};
    EXPECT_EQ(Message::NoteUndoServiceLeft, LastNote(Run(ServiceVerb::Install)));
    Machine.now = installed;
    Machine.failing = {"Delete", "Start"};
    EXPECT_EQ(Message::NoteUndoStart, LastNote(Run(ServiceVerb::Uninstall)));

    Machine.failing.clear();
    Machine.elevated = false;
    for (const ServiceMachine& before : {nothing, installed}) {
        Machine.now = before;
        const ServiceVerb verb = before.registered ? ServiceVerb::Uninstall : ServiceVerb::Install;
        EXPECT_EQ(Message::RefuseNotElevated, Run(verb).result.id);
        EXPECT_EQ(before, Machine.now);
    }
    EXPECT_EQ(Message::ServiceRunning, Run(ServiceVerb::Status).result.id) << "reading is allowed";
}

}  // namespace
