#pragma once
// This executable's own operator new, which fails every allocation of more
// than allocationLimit bytes, as on a machine short of memory.
#include <cstddef>

extern std::size_t allocationLimit;
