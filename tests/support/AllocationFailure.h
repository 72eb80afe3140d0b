// Simulated out-of-memory: a test program that links AllocationFailure.cpp replaces the global
// operator new and delete (all but the aligned forms) with versions that can fail one chosen
// allocation, also in libraries it loads with dlopen. The forms that throw raise std::bad_alloc,
// the nothrow forms return null.
#ifndef NVX4_ALLOCATION_FAILURE_H
#define NVX4_ALLOCATION_FAILURE_H

namespace nvx4::test {

class AllocationFailure {
  public:
    // Arms a failure for the step-th allocation from now (1: the next one), on any thread.
    static void failAt(unsigned long step);
    static void disarm();
    // Whether the armed failure has happened.
    static bool fired();
    // Blocks allocated through operator new and not deleted yet.
    static long liveBlocks();
};

}  // namespace nvx4::test

#endif
