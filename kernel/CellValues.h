// CellValues: the computed cells of a table, a slot per cell indexed by
// column and row key (-1 ... rows - 1), stored column by column with the
// summary row first: a table is filled, summed and sorted a column at a
// time, and a column's numbers then lie next to each other.
//
// A number is kept in its slot as its bits rather than as a boxed Double:
// most cells of a large model hold numbers, and a slot of 8 bytes instead of
// a slot and a box of 32 is a quarter of the memory to clear, fetch and let
// go of. A slot holds either nothing (0), one reference to an object (its
// address, below 2^49), or a number (its bits plus 2^49, wrapping). The few
// numbers whose bits would then land below 2^49 (negative NaNs with a large
// payload) stay boxed. Reading a number boxes it afresh: the box is short-
// lived and its block comes straight back to the allocator.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

#include "core/Number.h"
#include "core/Pointer.h"
#include "core/StdAllocator.h"

namespace qv {

class CellValues {
  public:
    CellValues() = default;
    CellValues(std::int32_t columns, std::int32_t rows, const Pointer<Object>& defaultElement = {})
        : m_columns(columns < 0 ? 0 : columns),
          m_rows(rows < 0 ? 0 : rows),
          m_default(defaultElement),
          m_slots(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows + 1)) {}
    CellValues(CellValues&& other) noexcept { swap(other); }
    CellValues& operator=(CellValues&& other) noexcept {
        CellValues old(std::move(*this));
        swap(other);
        return *this;
    }
    CellValues(const CellValues&) = delete;
    CellValues& operator=(const CellValues&) = delete;
    ~CellValues() {
        for (std::uint64_t slot : m_slots)
            releaseSlot(slot);
    }

    std::int32_t columns() const noexcept { return m_columns; }
    // Row keys 0 ... rows - 1 exist besides the summary row -1.
    std::int32_t rows() const noexcept { return m_rows; }
    bool contains(std::int32_t column, std::int32_t rowKey) const noexcept {
        return column >= 0 && column < m_columns && rowKey >= -1 && rowKey < m_rows;
    }

    // The value of a cell, a number boxed; outside the bounds the default.
    Pointer<Object> at(std::int32_t column, std::int32_t rowKey) const {
        if (!contains(column, rowKey)) return m_default;
        std::uint64_t slot = m_slots[index(column, rowKey)];
        if (isNumberSlot(slot)) return make<Double>(numberOf(slot));
        return Pointer<Object>(objectOf(slot));
    }
    bool isEmpty(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return m_default.isNull();
        return m_slots[index(column, rowKey)] == 0;
    }
    // The cell's object unless it holds a number kept unboxed (then the
    // null object): for tests of kind that no number passes.
    Object* objectUnlessNumber(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return m_default.object();
        std::uint64_t slot = m_slots[index(column, rowKey)];
        return isNumberSlot(slot) ? nullObject() : objectOf(slot);
    }
    // Whether the cell holds a number kept unboxed, and which.
    bool numberAt(std::int32_t column, std::int32_t rowKey, double& number) const noexcept {
        if (!contains(column, rowKey)) return false;
        std::uint64_t slot = m_slots[index(column, rowKey)];
        if (!isNumberSlot(slot)) return false;
        number = numberOf(slot);
        return true;
    }

    void set(std::int32_t column, std::int32_t rowKey, const Pointer<Object>& value) {
        if (!contains(column, rowKey)) return;
        std::uint64_t& slot = m_slots[index(column, rowKey)];
        std::uint64_t old = slot;
        slot = slotFor(*value.object());
        releaseSlot(old);
    }
    void setNumber(std::int32_t column, std::int32_t rowKey, double number) {
        if (!contains(column, rowKey)) return;
        std::uint64_t slot = std::bit_cast<std::uint64_t>(number) + kNumberOffset;
        if (!isNumberSlot(slot)) {
            set(column, rowKey, make<Double>(number));
            return;
        }
        std::uint64_t& entry = m_slots[index(column, rowKey)];
        std::uint64_t old = entry;
        entry = slot;
        releaseSlot(old);
    }
    // Gives a cell the value of another of the same column, without boxing.
    void copy(std::int32_t column, std::int32_t fromRowKey, std::int32_t toRowKey) {
        if (!contains(column, fromRowKey) || !contains(column, toRowKey)) return;
        std::uint64_t from = m_slots[index(column, fromRowKey)];
        if (from != 0 && !isNumberSlot(from)) objectOf(from)->retain();
        std::uint64_t& slot = m_slots[index(column, toRowKey)];
        std::uint64_t old = slot;
        slot = from;
        releaseSlot(old);
    }
    // Fetches a boxed value early; numbers need no fetch.
    void prefetch(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return;
        std::uint64_t slot = m_slots[index(column, rowKey)];
        if (slot != 0 && !isNumberSlot(slot)) __builtin_prefetch(objectOf(slot));
    }

    // Grows to `rows` row keys, keeping every entry at its position.
    void growRows(std::int32_t rows) {
        if (rows <= m_rows) return;
        const auto oldHeight = static_cast<std::size_t>(m_rows + 1);
        const auto height = static_cast<std::size_t>(rows + 1);
        CountedVector<std::uint64_t> grown(static_cast<std::size_t>(m_columns) * height);
        for (std::size_t column = 0; column < static_cast<std::size_t>(m_columns); ++column) {
            auto from = m_slots.begin() + static_cast<std::ptrdiff_t>(column * oldHeight);
            std::copy(from, from + static_cast<std::ptrdiff_t>(oldHeight),
                      grown.begin() + static_cast<std::ptrdiff_t>(column * height));
        }
        m_slots = std::move(grown);
        m_rows = rows;
    }

    // Hands every object held to `release` and then drops it. The objects ahead are fetched early:
    // they lie scattered over the heap.
    template <class Release>
    void drain(Release&& release) {
        constexpr std::size_t kAhead = 16;
        const std::size_t count = m_slots.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kAhead < count && !isNumberSlot(m_slots[i + kAhead]))
                __builtin_prefetch(objectOf(m_slots[i + kAhead]));
            std::uint64_t slot = m_slots[i];
            if (slot == 0 || isNumberSlot(slot)) continue;
            m_slots[i] = 0;
            release(*objectOf(slot));
            releaseSlot(slot);
        }
    }

  private:
    static constexpr std::uint64_t kNumberOffset = std::uint64_t{1} << 49;

    static bool isNumberSlot(std::uint64_t slot) noexcept { return slot >= kNumberOffset; }
    static double numberOf(std::uint64_t slot) noexcept {
        return std::bit_cast<double>(slot - kNumberOffset);
    }
    static Object* objectOf(std::uint64_t slot) noexcept {
        return slot == 0 ? nullObject() : reinterpret_cast<Object*>(slot);
    }
    // Takes a reference for a boxed value.
    static std::uint64_t slotFor(Object& value) noexcept {
        if (value.isNull()) return 0;
        if (value.classTypeId() == Double::typeId()) {
            auto bits = std::bit_cast<std::uint64_t>(static_cast<const Double&>(value).value());
            std::uint64_t slot = bits + kNumberOffset;
            if (isNumberSlot(slot)) return slot;
        }
        value.retain();
        auto address = reinterpret_cast<std::uint64_t>(&value);
        QV_ASSERT(address < kNumberOffset);
        return address;
    }
    static void releaseSlot(std::uint64_t slot) noexcept {
        if (slot != 0 && !isNumberSlot(slot)) objectOf(slot)->release();
    }

    std::size_t index(std::int32_t column, std::int32_t rowKey) const noexcept {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(m_rows + 1) +
               static_cast<std::size_t>(rowKey + 1);
    }
    void swap(CellValues& other) noexcept {
        std::swap(m_columns, other.m_columns);
        std::swap(m_rows, other.m_rows);
        std::swap(m_default, other.m_default);
        m_slots.swap(other.m_slots);
    }

    std::int32_t m_columns = 0;
    std::int32_t m_rows = 0;
    Pointer<Object> m_default;
    CountedVector<std::uint64_t> m_slots;
};

}  // namespace qv
