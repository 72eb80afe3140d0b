// Counts the program's heap use: every malloc, calloc and realloc (operator new included, since
// it allocates with malloc), and, on request, the bytes live and at the peak. The program that
// links HeapCounter.cpp has those functions replaced by counting ones that forward to the C
// library. Sanitizer builds keep their own allocator and count nothing.
#ifndef NVX4_BENCH_HEAP_COUNTER_H
#define NVX4_BENCH_HEAP_COUNTER_H

#include <cstddef>

namespace nvx4::bench {

class HeapCounter {
  public:
    // False where the allocator could not be replaced; then every figure stays 0.
    static bool active();
    static std::size_t allocations();
    // Bytes allocated and not released since counting started, now and at the most.
    static long long liveBytes();
    static long long peakBytes();
    // Counting bytes costs two calls into the allocator per block, so it runs only from here to
    // stopCountingBytes(); allocations are counted all the time.
    static void startCountingBytes();
    static void stopCountingBytes();
    // Counts on from where stopCountingBytes() left off.
    static void resumeCountingBytes();
};

}  // namespace nvx4::bench

#endif
