// Size-class pools: requests up to kLargestPooled bytes are rounded up to a
// multiple of kGranule and served from per-class free lists carved out of
// large chunks. Freed blocks return to their list; chunks are never given back
// to the heap, which suits a calculation engine whose cell values churn at
// roughly constant volume between recomputations. Larger blocks go to malloc.
#include "core/Allocator.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace qv {
namespace {

#ifdef QV_SYSTEM_HEAP
// Sanitizer builds let every block reach the system heap, so that
// use-after-free and leaks of single values are reported.
constexpr bool kUsePools = false;
#else
constexpr bool kUsePools = true;
#endif
constexpr std::size_t kGranule = 16;
constexpr std::size_t kLargestPooled = 512;
constexpr std::size_t kClassCount = kLargestPooled / kGranule;
constexpr std::size_t kChunkBytes = 64 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

struct Pool {
    FreeBlock* freeList = nullptr;
};

Pool g_pools[kClassCount];
AllocationCounters g_counters;

std::size_t classIndex(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kGranule;
}

void refill(Pool& pool, std::size_t blockSize) {
    auto* chunk = static_cast<char*>(std::malloc(kChunkBytes));
    if (chunk == nullptr) throw std::bad_alloc();
    std::size_t count = kChunkBytes / blockSize;
    for (std::size_t i = count; i-- > 0;) {
        auto* block = reinterpret_cast<FreeBlock*>(chunk + i * blockSize);
        block->next = pool.freeList;
        pool.freeList = block;
    }
}

}  // namespace

std::size_t usableSize(std::size_t size) noexcept {
    if (size <= kLargestPooled) return (classIndex(size) + 1) * kGranule;
    return size;
}

void* allocate(std::size_t size) {
    std::size_t usable = usableSize(size);
    void* block;
    if (size <= kLargestPooled && kUsePools) {
        Pool& pool = g_pools[classIndex(size)];
        if (pool.freeList == nullptr) refill(pool, usable);
        FreeBlock* head = pool.freeList;
        pool.freeList = head->next;
        block = head;
    } else {
        block = std::malloc(usable);
        if (block == nullptr) throw std::bad_alloc();
    }
    std::memset(block, 0, usable);
    ++g_counters.blocks;
    g_counters.bytes += static_cast<std::int64_t>(usable);
    return block;
}

void deallocate(void* block, std::size_t size) noexcept {
    if (block == nullptr) return;
    std::size_t usable = usableSize(size);
    --g_counters.blocks;
    g_counters.bytes -= static_cast<std::int64_t>(usable);
    if (size <= kLargestPooled && kUsePools) {
        Pool& pool = g_pools[classIndex(size)];
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = pool.freeList;
        pool.freeList = freed;
    } else {
        std::free(block);
    }
}

const AllocationCounters& allocationCounters() noexcept {
    return g_counters;
}

}  // namespace qv
