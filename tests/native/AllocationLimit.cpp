// Kept apart from the tests so that no compiler inlines these into the code
// that allocates and takes free for a mismatch with new.
#include "AllocationLimit.h"

#include <cstdint>
#include <cstdlib>
#include <new>

std::size_t allocationLimit = SIZE_MAX;

void* operator new(std::size_t size) {
    void* block = size <= allocationLimit ? std::malloc(size ? size : 1) : nullptr;
    if (!block)
        throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
