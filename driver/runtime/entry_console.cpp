// Console program entry: narrow arguments from msvcrt, then main.
#include <windows.h>

#include "static_init.h"

extern "C" int __cdecl __getmainargs(int* argc, char*** argv, char*** env, int expandWildcards,
                                     int* startInfo);
extern "C" void __cdecl exit(int status);

int main(int argc, char** argv);

extern "C" void __cdecl mainCRTStartup()
{
    RunStaticInitializers();
    int argc = 0;
    char** argv = nullptr;
    char** env = nullptr;
    int startInfo = 0;
    __getmainargs(&argc, &argv, &env, 0, &startInfo);
    int status = main(argc, argv);
    RunExitHandlers();
    exit(status);  // msvcrt's exit flushes its stdio
}
