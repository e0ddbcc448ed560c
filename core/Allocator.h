// The accounting allocator: every object, string text and element array of
// the system is allocated here. It keeps two live counters (blocks and bytes)
// for diagnostics. Small blocks come from size-class pools so that the
// per-cell path of the kernel never reaches the general-purpose heap.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

struct AllocationCounters {
    std::int64_t blocks = 0;
    std::int64_t bytes = 0;
};

// Returns a zero-filled block of at least `size` bytes. Throws std::bad_alloc
// when the heap is exhausted.
void* allocate(std::size_t size);
// Returns a block obtained from allocate(size) with the same size; null is ignored.
void deallocate(void* block, std::size_t size) noexcept;
// The usable size that allocate(size) really hands out.
std::size_t usableSize(std::size_t size) noexcept;

const AllocationCounters& allocationCounters() noexcept;

// Asks the system to back the whole huge pages inside a large buffer of the
// standard heap with huge pages, so that filling it costs a few page faults
// rather than one per 4 KB. Harmless when the system declines.
void preferHugePages(void* buffer, std::size_t bytes) noexcept;

}  // namespace qv
