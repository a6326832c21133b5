// Symbols that MSVC-ABI code refers to and that no system DLL exports.

// Any module that uses floating point refers to _fltused.
extern "C" int _fltused = 0x9875;

// Every RTTI type descriptor points at type_info's vftable. dynamic_cast (msvcrt's
// __RTDynamicCast) compares descriptors by name and never calls through it, so one null slot
// for the virtual destructor is enough.
extern "C" const void* const TypeInfoVftable[1] __asm__("??_7type_info@@6B@") = {nullptr};
