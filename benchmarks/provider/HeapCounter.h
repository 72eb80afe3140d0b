// Counts the program's heap use: every malloc, calloc and realloc (operator new included, since
// it allocates with malloc), and the bytes live now and at the peak. The program that links
// HeapCounter.cpp has those functions replaced by counting ones that forward to the C library.
// Sanitizer builds keep their own allocator and count nothing.
#ifndef NVX4_BENCH_HEAP_COUNTER_H
#define NVX4_BENCH_HEAP_COUNTER_H

#include <cstddef>

namespace nvx4::bench {

class HeapCounter {
  public:
    // False where the allocator could not be replaced; then every figure stays 0.
    static bool active();
    static std::size_t allocations();
    static std::size_t liveBytes();
    static std::size_t peakBytes();
    // Starts a new peak from the bytes live now.
    static void resetPeak();
};

}  // namespace nvx4::bench

#endif
