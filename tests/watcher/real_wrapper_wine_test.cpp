// The scanner against the announcement windows of the real wrapper, loaded with a test driver
// and fed a stream by the test host of the MSVC-ABI twin tree (its "reader" scenario, which
// announces four broadcast times one after another while its own reader checks them).
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "scan_win32.h"
#include "unix_path.h"

namespace {

// Built by the twin tree (see CMakeLists.txt).
std::wstring HostProgram()
{
    return WindowsPathOfUnix(QUELLAP_WRAPPER_HOST_UNIX);
}
const wchar_t SourceName[] = L"BonDriver_Quellap";
constexpr DWORD HostPatienceMsec = 60000;

// The times the scenario feeds, as FILETIME values: 2007-11-23 13:25:14, 2000-01-01 00:00:00,
// 1969-12-31 23:59:59 and 1960-01-01 00:00:00.
uint64_t FileTimeOfSeconds(int64_t secondsSince1970)
{
    return static_cast<uint64_t>((secondsSince1970 + 11644473600LL) * 10000000LL);
}
const uint64_t FedTimes[] = {FileTimeOfSeconds(1195824314), FileTimeOfSeconds(946684800),
                             FileTimeOfSeconds(-1), FileTimeOfSeconds(-315619200)};

uint64_t FileTimeOf(const SourceRecord& record)
{
    return (static_cast<uint64_t>(record.fileTime.dwHighDateTime) << 32) |
           record.fileTime.dwLowDateTime;
}

bool WasFed(uint64_t fileTime)
{
    for (uint64_t fed : FedTimes) {
        if (fed == fileTime) return true;
    }
    return false;
}

std::wstring LongPath(const wchar_t* path)
{
    WCHAR longPath[ModulePathSize];
    const DWORD length = GetLongPathNameW(path, longPath, ModulePathSize);
    return length > 0 && length < ModulePathSize ? std::wstring(longPath, length) : path;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(RealWrapperWineTest, AnnouncementWindowsOfTheRealWrapper)
{
    const std::wstring hostProgram = HostProgram();
    if (GetFileAttributesW(hostProgram.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no test host at " << Narrow(hostProgram)
                     << ": build wrapper_host in the MSVC-ABI twin tree (or point "
                        "QUELLAP_MSVC_TWIN_DIR at a tree that has it)";
    }
    const std::wstring hostPath = LongPath(hostProgram.c_str());
    WatchSettings settings{};
    TrustedPath trusted{};
    hostPath.copy(trusted.path, TrustedPathCapacity - 1);
    settings.Trusted.push_back(trusted);

    std::wstring commandLine = L"\"" + hostPath + L"\" reader";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION host = {};
    ASSERT_TRUE(CreateProcessW(hostPath.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                               NULL, &startup, &host));
    CloseHandle(host.hThread);

    // Scan as often as possible while the host runs and keep what was read from its windows.
    Win32ScanPlatform platform;
    SourceTable table;
    std::map<SourceKey, SourceRecord> seen;
    std::map<uint64_t, int> timesSeen;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(host.hProcess, 1) == WAIT_TIMEOUT &&
           GetTickCount() - start < HostPatienceMsec) {
        ScanSources(platform, table, settings);
        for (const auto& entry : table) {
            if (lstrcmpiW(entry.second.modulePath, hostPath.c_str()) != 0) continue;
            seen[entry.first] = entry.second;
            ++timesSeen[FileTimeOf(entry.second)];
        }
    }
    const bool ended = WaitForSingleObject(host.hProcess, 0) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(host.hProcess, 1);
    CloseHandle(host.hProcess);
    ASSERT_TRUE(ended) << "the host did not end within " << HostPatienceMsec << " ms";

    ASSERT_FALSE(seen.empty()) << "no announcement window of the host was read";
    for (const auto& time : timesSeen) {
        EXPECT_TRUE(WasFed(time.first)) << "a time the host never fed: " << time.first;
    }
    const DWORD now = GetTickCount();
    for (const auto& entry : seen) {
        const SourceRecord& record = entry.second;
        EXPECT_TRUE(std::wstring(SourceName) == record.name) << Narrow(record.name);
        EXPECT_TRUE(record.trusted) << "trusted by the host's path";
        EXPECT_LT(now - record.tick, HostPatienceMsec) << "received during the host's run";
    }

    ScanSources(platform, table, settings);
    for (const auto& entry : seen) {
        EXPECT_EQ(0u, table.count(entry.first)) << "the ended host's window is pruned";
    }
}

}  // namespace
