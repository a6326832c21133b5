// Allocation for the MSVC-ABI modules, which have no C++ library: the non-throwing global new
// (the only form that may report failure without exceptions) and placement new.
#pragma once

#include <stddef.h>

namespace std {
struct nothrow_t {
    explicit nothrow_t() = default;
};
extern const nothrow_t nothrow;
}

void* operator new(size_t size, const std::nothrow_t&) noexcept;
void* operator new[](size_t size, const std::nothrow_t&) noexcept;
inline void* operator new(size_t, void* place) noexcept { return place; }
