// Size-class pools: requests up to kLargestPooled bytes are rounded up to a
// multiple of kGranule (8 bytes, so that a boxed number of 24 bytes, the
// most common object of a computed model, takes 24 and not 32) and served from per-class free lists
// carved out of large chunks. Freed blocks return to their list; chunks are never given back to the
// heap, which suits a calculation engine whose cell values churn at roughly constant volume between
// recomputations. Larger blocks go to the system heap.
#include "core/Allocator.h"

#include <sys/mman.h>

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
constexpr std::size_t kGranule = 8;
constexpr std::size_t kLargestPooled = 512;
constexpr std::size_t kClassCount = kLargestPooled / kGranule;
constexpr std::size_t kChunkBytes = 64 * 1024;

constexpr std::size_t kArenaBytes = 64u << 20;
constexpr std::size_t kHugePageBytes = 2u << 20;

struct FreeBlock {
    FreeBlock* next;
};

// Freed blocks first; then fresh blocks cut from the current chunk in
// order, so memory is touched only when a block is handed out.
struct Pool {
    FreeBlock* freeList = nullptr;
    char* next = nullptr;
    char* end = nullptr;
};

Pool g_pools[kClassCount];
AllocationCounters g_counters;

// Chunks are cut from large arenas that the system may back with huge
// pages: a model of millions of cells then costs a few hundred page faults
// instead of hundreds of thousands.
struct Arena {
    char* next = nullptr;
    char* end = nullptr;
};
Arena g_arena;

char* takeChunk() {
    if (g_arena.next == g_arena.end) {
        void* arena =
            mmap(nullptr, kArenaBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (arena == MAP_FAILED) throw std::bad_alloc();
        madvise(arena, kArenaBytes, MADV_HUGEPAGE);
        g_arena.next = static_cast<char*>(arena);
        g_arena.end = g_arena.next + kArenaBytes;
    }
    char* chunk = g_arena.next;
    g_arena.next += kChunkBytes;
    return chunk;
}

std::size_t classIndex(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kGranule;
}

void* takeFromPool(Pool& pool, std::size_t blockSize) {
    if (pool.freeList != nullptr) {
        FreeBlock* head = pool.freeList;
        pool.freeList = head->next;
        return head;
    }
    if (static_cast<std::size_t>(pool.end - pool.next) < blockSize) {
        pool.next = takeChunk();
        pool.end = pool.next + kChunkBytes / blockSize * blockSize;
    }
    void* block = pool.next;
    pool.next += blockSize;
    return block;
}

// Large blocks (cell matrices, long vectors) are aligned to huge pages for
// the same reason.
void* allocateLarge(std::size_t size) {
    if (size < kHugePageBytes) return std::malloc(size);
    std::size_t rounded = (size + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    void* block = std::aligned_alloc(kHugePageBytes, rounded);
    if (block != nullptr) madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

// Most objects take 16 to 64 bytes; a fixed-size fill is done inline
// instead of calling memset for a few bytes.
void zeroFill(void* block, std::size_t size) {
    switch (size) {
        case 16:
            std::memset(block, 0, 16);
            break;
        case 24:
            std::memset(block, 0, 24);
            break;
        case 32:
            std::memset(block, 0, 32);
            break;
        case 48:
            std::memset(block, 0, 48);
            break;
        case 64:
            std::memset(block, 0, 64);
            break;
        default:
            std::memset(block, 0, size);
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
        block = takeFromPool(g_pools[classIndex(size)], usable);
    } else {
        block = kUsePools ? allocateLarge(usable) : std::malloc(usable);
        if (block == nullptr) throw std::bad_alloc();
    }
    zeroFill(block, usable);
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

void preferHugePages(void* buffer, std::size_t bytes) noexcept {
    auto begin = reinterpret_cast<std::uintptr_t>(buffer);
    std::uintptr_t first = (begin + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    std::uintptr_t last = (begin + bytes) / kHugePageBytes * kHugePageBytes;
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

const AllocationCounters& allocationCounters() noexcept {
    return g_counters;
}

}  // namespace qv
