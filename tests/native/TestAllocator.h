#pragma once
// This executable's own operator new: it fails every allocation of more than
// allocationLimit bytes, as on a machine short of memory, and counts the
// bytes that each thread's allocations take on the heap.
#include <cstddef>

extern std::size_t allocationLimit;

// The most bytes the calling thread's allocations held at once since its
// last call (frees by other threads are not seen).
long long TakeThreadPeakBytes();
