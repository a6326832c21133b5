// Static initialisers and this module's own atexit list: without an MSVC runtime every module
// of the MSVC-ABI tree runs them itself (entry_*.cpp).
#pragma once

void RunStaticInitializers();
void RunExitHandlers();
