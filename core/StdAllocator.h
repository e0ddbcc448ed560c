// An allocator for standard containers that draws from the accounting
// allocator, so matrices and work vectors are counted like every object.
#pragma once

#include <cstddef>
#include <vector>

#include <new>
#include "core/Allocator.h"

namespace qv {

template <class T>
class StdAllocator {
  public:
    using value_type = T;

    StdAllocator() noexcept = default;
    template <class U>
    StdAllocator(const StdAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(qv::allocate(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        qv::deallocate(block, count * sizeof(T));
    }

    template <class U>
    bool operator==(const StdAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using CountedVector = std::vector<T, StdAllocator<T>>;

}  // namespace qv
