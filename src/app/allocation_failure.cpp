#include <cstdlib>
#include <new>

#include "ui/fatal_error.h"

// Memory that cannot be had is a fatal error with its own report, not an exception. These replace the
// global allocation functions of the Windows program; the array and nothrow forms come through here.
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    reportAllocationFailure(size);
}

void* operator new[](std::size_t size) {
    return ::operator new(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
