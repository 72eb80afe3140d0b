// Counts the program's heap allocations: the program that links AllocationCounter.cpp has its
// global operator new replaced by one that counts.
#ifndef NVX4_ALLOCATION_COUNTER_H
#define NVX4_ALLOCATION_COUNTER_H

#include <cstddef>

namespace nvx4::bench {

// Allocations made through operator new since the program started.
std::size_t allocationCount();

}  // namespace nvx4::bench

#endif
