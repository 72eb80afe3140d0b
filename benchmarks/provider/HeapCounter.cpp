#include "HeapCounter.h"

#if defined(__SANITIZE_ADDRESS__)
#define NVX4_HEAP_COUNTER 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NVX4_HEAP_COUNTER 0
#endif
#endif
#ifndef NVX4_HEAP_COUNTER
#define NVX4_HEAP_COUNTER 1
#endif

#if NVX4_HEAP_COUNTER
#include <malloc.h>
#endif

namespace {

// Plain counters: the benchmark allocates from one thread.
std::size_t allocationCount = 0;
std::size_t live = 0;
std::size_t peak = 0;

#if NVX4_HEAP_COUNTER
void counted(void* block) {
    if (block == nullptr) return;
    ++allocationCount;
    live += malloc_usable_size(block);
    if (live > peak) peak = live;
}

void released(void* block) {
    if (block == nullptr) return;
    const std::size_t size = malloc_usable_size(block);
    live = size > live ? 0 : live - size;
}
#endif

}  // namespace

namespace nvx4::bench {

bool HeapCounter::active() { return NVX4_HEAP_COUNTER != 0; }
std::size_t HeapCounter::allocations() { return allocationCount; }
std::size_t HeapCounter::liveBytes() { return live; }
std::size_t HeapCounter::peakBytes() { return peak; }
void HeapCounter::resetPeak() { peak = live; }

}  // namespace nvx4::bench

#if NVX4_HEAP_COUNTER
extern "C" {

void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) {
    void* block = __libc_malloc(size);
    counted(block);
    return block;
}

void* calloc(std::size_t count, std::size_t size) {
    void* block = __libc_calloc(count, size);
    counted(block);
    return block;
}

void* realloc(void* block, std::size_t size) {
    const std::size_t before = block == nullptr ? 0 : malloc_usable_size(block);
    void* moved = __libc_realloc(block, size);
    // A failed realloc leaves the old block in place; realloc(block, 0) frees it.
    if (moved == nullptr && size != 0) return moved;
    live = before > live ? 0 : live - before;
    counted(moved);
    return moved;
}

void free(void* block) {
    released(block);
    __libc_free(block);
}
}
#endif
