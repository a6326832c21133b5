/* The load-config directory. Without it lld-link marks an x86 image as having no safe exception
   handlers (IMAGE_DLLCHARACTERISTICS_NO_SEH), and Windows then refuses every SEH handler in it.
   The linker fills __safe_se_handler_table/__safe_se_handler_count when /safeseh is given.
   x64 exceptions use the image's unwind tables instead; its block has only the size set, so
   both images declare a load configuration in the same way. */
#include <windows.h>

#ifdef _WIN64
const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = 0x70, /* the structure up to SEHandlerCount */
};
#else
extern PVOID __safe_se_handler_table[];
extern BYTE __safe_se_handler_count;

const IMAGE_LOAD_CONFIG_DIRECTORY32 _load_config_used = {
    .Size = 0x48, /* the structure up to SEHandlerCount */
    .SEHandlerTable = (DWORD)__safe_se_handler_table,
    .SEHandlerCount = (DWORD)&__safe_se_handler_count,
};
#endif
