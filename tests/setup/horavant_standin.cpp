// A stand-in for the watcher's service in the tests of QuellapSetup's service verbs, installed
// under the watcher's file name. With --service it is the service Horavant: it reports that it
// runs and stops when told. Otherwise it runs each argument as a command line in turn, printing
// "exit N" after each: a prefix's services live only while an ordinary process of it runs.
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#include <string>

#include "wrapper_files.h"

namespace {

constexpr DWORD PatienceMsec = 120000;

SERVICE_STATUS_HANDLE Status;
HANDLE StopAsked;

void Report(DWORD state)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    SetServiceStatus(Status, &status);
}

DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*)
{
    if (control != SERVICE_CONTROL_STOP) return ERROR_CALL_NOT_IMPLEMENTED;
    Report(SERVICE_STOP_PENDING);
    SetEvent(StopAsked);
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, wchar_t**)
{
    StopAsked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Status = RegisterServiceCtrlHandlerExW(WatcherServiceName, OnControl, nullptr);
    if (Status == nullptr || StopAsked == nullptr) return;
    Report(SERVICE_RUNNING);
    WaitForSingleObject(StopAsked, INFINITE);
    Report(SERVICE_STOPPED);
}

DWORD Run(std::wstring line)
{
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    DWORD code = 999;
    // Once, in a full run, Wine failed to start one command and started the next at once:
    // try thrice, saying why on the standard error.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &startup, &process) != FALSE;
        if (!started) fprintf(stderr, "not started (error %lu)\n", GetLastError());
    }
    if (!started) return code;
    if (WaitForSingleObject(process.hProcess, PatienceMsec) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && wcscmp(argv[1], WatcherServiceArgument) == 0) {
        SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(WatcherServiceName), ServiceMain},
                                        {nullptr, nullptr}};
        return StartServiceCtrlDispatcherW(table) ? 0 : 1;
    }
    for (int i = 1; i < argc; ++i) {
        const DWORD code = Run(argv[i]);
        printf("exit %lu\n", code);
        fflush(stdout);
    }
    return 0;
}
