#include "static_init.h"

typedef void(__cdecl* InitFunction)();

// The compiler puts a pointer to each static initialiser into .CRT$XCU; the linker sorts the
// .CRT$XC* sections by name, so these two bracket the table.
#pragma section(".CRT$XCA", read)
#pragma section(".CRT$XCZ", read)
__declspec(allocate(".CRT$XCA")) static const InitFunction InitTableStart = nullptr;
__declspec(allocate(".CRT$XCZ")) static const InitFunction InitTableEnd = nullptr;

namespace {
// Destructors of statics register here; a module has only a handful, a fixed table suffices.
const int MaxExitHandlers = 64;
InitFunction ExitHandlers[MaxExitHandlers];
int ExitHandlerCount = 0;
}

void RunStaticInitializers()
{
    for (const InitFunction* f = &InitTableStart + 1; f < &InitTableEnd; ++f) {
        if (*f)
            (*f)();
    }
}

void RunExitHandlers()
{
    while (ExitHandlerCount > 0)
        ExitHandlers[--ExitHandlerCount]();
}

// The module's own atexit, so that a DLL's handlers run when it is unloaded and not at some
// later process exit when its code is gone.
extern "C" int __cdecl atexit(InitFunction handler)
{
    if (ExitHandlerCount == MaxExitHandlers)
        return -1;
    ExitHandlers[ExitHandlerCount++] = handler;
    return 0;
}
