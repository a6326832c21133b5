/* The load-config directory. Without it lld-link marks the image as having no safe exception
   handlers (IMAGE_DLLCHARACTERISTICS_NO_SEH), and Windows then refuses every SEH handler in it.
   The linker fills __safe_se_handler_table/__safe_se_handler_count when /safeseh is given. */
#include <windows.h>

extern PVOID __safe_se_handler_table[];
extern BYTE __safe_se_handler_count;

const IMAGE_LOAD_CONFIG_DIRECTORY32 _load_config_used = {
    0x48, /* Size: the structure up to SEHandlerCount */
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    (DWORD)__safe_se_handler_table,
    (DWORD)&__safe_se_handler_count,
};
