#pragma once
#include <cstddef>

namespace bench {

// Heap allocations made through operator new in this program so far; the program that links
// AllocationCounter.cpp counts every one.
std::size_t allocationCount();

} // namespace bench
