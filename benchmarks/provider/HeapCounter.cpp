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

// Plain counters: the benchmark allocates from one thread. Bytes count from where counting
// started, so blocks allocated before and released during the count make the figure fall.
std::size_t allocationCount = 0;
bool countingBytes = false;
long long live = 0;
long long peak = 0;

#if NVX4_HEAP_COUNTER
void counted(void* block) {
    if (block == nullptr) return;
    ++allocationCount;
    if (!countingBytes) return;
    live += static_cast<long long>(malloc_usable_size(block));
    if (live > peak) peak = live;
}

void released(void* block) {
    if (block != nullptr && countingBytes)
        live -= static_cast<long long>(malloc_usable_size(block));
}
#endif

}  // namespace

namespace nvx4::bench {

bool HeapCounter::active() { return NVX4_HEAP_COUNTER != 0; }
std::size_t HeapCounter::allocations() { return allocationCount; }
long long HeapCounter::liveBytes() { return live; }
long long HeapCounter::peakBytes() { return peak; }
void HeapCounter::startCountingBytes() {
    live = peak = 0;
    countingBytes = true;
}
void HeapCounter::stopCountingBytes() { countingBytes = false; }
void HeapCounter::resumeCountingBytes() { countingBytes = true; }

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
    const std::size_t before = block == nullptr || !countingBytes ? 0 : malloc_usable_size(block);
    void* moved = __libc_realloc(block, size);
    // A failed realloc leaves the old block in place; realloc(block, 0) frees it.
    if (moved == nullptr && size != 0) return moved;
    live -= static_cast<long long>(before);
    counted(moved);
    return moved;
}

void free(void* block) {
    released(block);
    __libc_free(block);
}
}
#endif
