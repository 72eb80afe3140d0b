// Simulated out-of-memory for tests: a test program that links AllocationFailure.cpp replaces the
// global operator new and delete (every form but the aligned ones) with versions that can fail one
// chosen allocation. The forms that throw raise std::bad_alloc, the nothrow forms return null.
// Libraries the program loads with dlopen allocate through the same operators.
//
//   AllocationFailure::failAt(3);   // the third allocation from now fails
//   ...
//   AllocationFailure::disarm();
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
