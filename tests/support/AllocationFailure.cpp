#include "AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> armed{false};
std::atomic<bool> failed{false};
std::atomic<unsigned long> remaining{0};
std::atomic<long> live{0};

bool failsNow() {
    if (!armed.load()) return false;
    if (remaining.fetch_sub(1) != 1) return false;
    armed = false;
    failed = true;
    return true;
}

void* allocate(std::size_t size) noexcept {
    if (failsNow()) return nullptr;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) ++live;
    return block;
}

void* allocateOrThrow(std::size_t size) {
    void* block = allocate(size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void release(void* block) noexcept {
    if (block == nullptr) return;
    --live;
    std::free(block);
}

}  // namespace

namespace nvx4::test {

void AllocationFailure::failAt(unsigned long step) {
    failed = false;
    remaining = step;
    armed = step > 0;
}

void AllocationFailure::disarm() { armed = false; }

bool AllocationFailure::fired() { return failed.load(); }

long AllocationFailure::liveBlocks() { return live.load(); }

}  // namespace nvx4::test

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
