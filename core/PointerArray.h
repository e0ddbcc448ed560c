// A block of Pointer<T> slots from the accounting allocator, every slot
// holding the null object when fresh. Shared by Vector and TVector, which
// grow by doubling.
#pragma once

#include <cstdint>
#include <new>

#include "core/Allocator.h"
#include "core/Pointer.h"

namespace qv {

template <class T>
Pointer<T>* newPointerArray(std::int32_t capacity) {
    auto* slots =
        static_cast<Pointer<T>*>(allocate(sizeof(Pointer<T>) * static_cast<std::size_t>(capacity)));
    for (std::int32_t i = 0; i < capacity; ++i)
        new (&slots[i]) Pointer<T>();
    return slots;
}

template <class T>
void deletePointerArray(Pointer<T>* slots, std::int32_t capacity) noexcept {
    if (slots == nullptr) return;
    for (std::int32_t i = 0; i < capacity; ++i)
        slots[i].~Pointer<T>();
    deallocate(slots, sizeof(Pointer<T>) * static_cast<std::size_t>(capacity));
}

// Moves the first `count` slots into a new array of `newCapacity` slots.
template <class T>
Pointer<T>* growPointerArray(Pointer<T>* slots, std::int32_t count, std::int32_t capacity,
                             std::int32_t newCapacity) {
    if (newCapacity < 0) throw std::bad_alloc();
    Pointer<T>* grown = newPointerArray<T>(newCapacity);
    for (std::int32_t i = 0; i < count; ++i)
        grown[i] = std::move(slots[i]);
    deletePointerArray(slots, capacity);
    return grown;
}

}  // namespace qv
