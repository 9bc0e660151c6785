// Kept apart from the tests so that no compiler inlines these into the code
// that allocates and takes free for a mismatch with new.
#include "TestAllocator.h"

#include <cstdint>
#include <cstdlib>
#include <new>

std::size_t allocationLimit = SIZE_MAX;

namespace {
// Each block starts with its size, in a header that keeps the block aligned.
const std::size_t kHeader = 16;
// What a block costs the heap: with its header, in 16-byte units, so that
// many small blocks count what they really take.
long long Cost(std::size_t size) {
    return static_cast<long long>((size + kHeader + 15) / 16 * 16);
}
thread_local long long held = 0;
thread_local long long peak = 0;
}

long long TakeThreadPeakBytes() {
    const long long result = peak;
    peak = held;
    return result;
}

void* operator new(std::size_t size) {
    char* block = size <= allocationLimit ? static_cast<char*>(std::malloc(size + kHeader)) : nullptr;
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    held += Cost(size);
    if (held > peak)
        peak = held;
    return block + kHeader;
}

void operator delete(void* block) noexcept {
    if (!block)
        return;
    char* start = static_cast<char*>(block) - kHeader;
    held -= Cost(*reinterpret_cast<std::size_t*>(start));
    std::free(start);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
