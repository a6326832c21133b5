// Global new and delete over msvcrt's heap. The plain forms exist because the compiler refers
// to them (deleting destructors, sized deletes); without exceptions they return null on failure.
#include "new_delete.h"

extern "C" void* __cdecl malloc(size_t size);
extern "C" void __cdecl free(void* block);

const std::nothrow_t std::nothrow{};

void* operator new(size_t size) { return malloc(size ? size : 1); }
void* operator new[](size_t size) { return malloc(size ? size : 1); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }
