#include <windows.h>

#include "probe_facts_win32.h"
#include "slew_clock_win32.h"

namespace {

typedef LONG(WINAPI* GetVersionCall)(OSVERSIONINFOW* version);
typedef const char*(CDECL* WineVersionCall)();

// One value of the CurrentVersion key, read in the 64-bit view from a 32-bit process too; false
// when it is missing.
bool CurrentVersionValue(const wchar_t* name, DWORD type, void* data, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status = RegGetValueW(key, NULL, name, type, NULL, data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

std::wstring CurrentVersionText(const wchar_t* name)
{
    WCHAR text[256];
    return CurrentVersionValue(name, RRF_RT_REG_SZ, text, sizeof text) ? text : L"";
}

DWORD CurrentVersionNumber(const wchar_t* name)
{
    DWORD number = 0;
    return CurrentVersionValue(name, RRF_RT_REG_DWORD, &number, sizeof number) ? number : 0;
}

template <typename Call>
Call NtdllCall(const char* name)
{
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

std::wstring WineVersion()
{
    const WineVersionCall version = NtdllCall<WineVersionCall>("wine_get_version");
    if (version == nullptr) return L"";
    const char* text = version();
    return std::wstring(text, text + strlen(text));
}

bool ObjectName(HANDLE object, std::wstring& name)
{
    WCHAR text[256];
    DWORD needed = 0;
    if (object == NULL ||
        !GetUserObjectInformationW(object, UOI_NAME, text, sizeof text, &needed)) {
        return false;
    }
    name = text;
    return true;
}

}  // namespace

void ReadSystemFacts(SystemFacts& facts)
{
    // RtlGetVersion tells the truth whatever the manifest; GetVersionExW does not.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const GetVersionCall getVersion = NtdllCall<GetVersionCall>("RtlGetVersion");
    const LONG status = getVersion != nullptr ? getVersion(&version) : ERROR_PROC_NOT_FOUND;
    if (status != 0) facts.failure = {L"RtlGetVersion", static_cast<uint32_t>(status)};
    facts.major = version.dwMajorVersion;
    facts.minor = version.dwMinorVersion;
    facts.build = version.dwBuildNumber;
    facts.revision = CurrentVersionNumber(L"UBR");
    const std::wstring display = CurrentVersionText(L"DisplayVersion");
    facts.product = CurrentVersionText(L"ProductName") + (display.empty() ? L"" : L" " + display);
    facts.wine = WineVersion();
    facts.processBits = sizeof(void*) * 8;
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64)) {
        facts.failure = {L"IsWow64Process", GetLastError()};
    }
    facts.wow64 = wow64 != FALSE;
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    facts.counterFrequency = frequency.QuadPart;
    facts.preciseTime = FindPreciseTimeCall() != nullptr;
}

void ReadSessionFacts(SessionFacts& facts)
{
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        facts.failure = {L"ProcessIdToSessionId", GetLastError()};
        return;
    }
    facts.sessionId = session;
    if (!ObjectName(GetProcessWindowStation(), facts.windowStation) ||
        !ObjectName(GetThreadDesktop(GetCurrentThreadId()), facts.desktop)) {
        facts.failure = {L"GetUserObjectInformationW", GetLastError()};
    }
}
