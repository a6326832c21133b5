/* A module with one structured exception handler, built like the wrapper on the runtime shim, so
   that the image check sees the shim's load-config block list the handler where Windows looks
   for it (the wrapper itself has none). */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) int CatchRaisedException(void) {
    __try {
        RaiseException(1, 0, 0, NULL);
        return 0;
    } __except (EXCEPTION_EXECUTE_HANDLER) {
        return 1;
    }
}
