// CellValues: the computed cells of a table, a slot per cell indexed by
// column and row key (-1 ... rows - 1), stored column by column: a table is
// filled, summed and sorted a column at a time, and a column's numbers then
// lie next to each other. The data rows of a column take memory only once
// one of them is written, and a column whose data rows all repeat its
// formula row's value (a total shown in every row) keeps that value once.
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

#include <bit>
#include <cstdint>

#include "core/Number.h"
#include "core/Pointer.h"
#include "core/StdAllocator.h"

namespace qv {

class CellValues {
  public:
    CellValues() = default;
    CellValues(std::int32_t columns, std::int32_t rows, const Pointer<Object>& defaultElement = {});
    CellValues(CellValues&& other) noexcept { swap(other); }
    CellValues& operator=(CellValues&& other) noexcept {
        CellValues old(std::move(*this));
        swap(other);
        return *this;
    }
    CellValues(const CellValues&) = delete;
    CellValues& operator=(const CellValues&) = delete;
    ~CellValues();

    std::int32_t columns() const noexcept { return static_cast<std::int32_t>(m_columns.size()); }
    // Row keys 0 ... rows - 1 exist besides the summary row -1.
    std::int32_t rows() const noexcept { return m_rows; }
    bool contains(std::int32_t column, std::int32_t rowKey) const noexcept {
        return column >= 0 && column < columns() && rowKey >= -1 && rowKey < m_rows;
    }

    // The value of a cell, a number boxed; outside the bounds the default.
    Pointer<Object> at(std::int32_t column, std::int32_t rowKey) const {
        if (!contains(column, rowKey)) return m_default;
        std::uint64_t slot = slotAt(column, rowKey);
        if (isNumberSlot(slot)) return make<Double>(numberOf(slot));
        return Pointer<Object>(objectOf(slot));
    }
    bool isEmpty(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return m_default.isNull();
        return slotAt(column, rowKey) == 0;
    }
    // The cell's object unless it holds a number kept unboxed (then the
    // null object): for tests of kind that no number passes.
    Object* objectUnlessNumber(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return m_default.object();
        std::uint64_t slot = slotAt(column, rowKey);
        return isNumberSlot(slot) ? nullObject() : objectOf(slot);
    }
    // One look at a cell: null when it holds a number kept unboxed (then in
    // `number`), else its object (the null object when empty).
    Object* peek(std::int32_t column, std::int32_t rowKey, double& number) const noexcept {
        if (!contains(column, rowKey)) return m_default.object();
        std::uint64_t slot = slotAt(column, rowKey);
        if (!isNumberSlot(slot)) return objectOf(slot);
        number = numberOf(slot);
        return nullptr;
    }
    // Whether the cell holds a number kept unboxed, and which.
    bool numberAt(std::int32_t column, std::int32_t rowKey, double& number) const noexcept {
        if (!contains(column, rowKey)) return false;
        std::uint64_t slot = slotAt(column, rowKey);
        if (!isNumberSlot(slot)) return false;
        number = numberOf(slot);
        return true;
    }

    void set(std::int32_t column, std::int32_t rowKey, const Pointer<Object>& value);
    void setNumber(std::int32_t column, std::int32_t rowKey, double number);
    // Gives a cell the value of another of the same column, without boxing.
    void copy(std::int32_t column, std::int32_t fromRowKey, std::int32_t toRowKey);
    // Every data row of the column shows its formula row's value from now
    // on, until a row of the column (the formula row too) is written. Only
    // for a column whose data rows were never written.
    bool repeatFormulaRow(std::int32_t column);
    // Empties every row of the column.
    void clearColumn(std::int32_t column) noexcept;
    // Fetches a boxed value early; numbers need no fetch.
    void prefetch(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return;
        std::uint64_t slot = slotAt(column, rowKey);
        if (slot != 0 && !isNumberSlot(slot)) __builtin_prefetch(objectOf(slot));
    }

    // Grows to `rows` row keys, keeping every entry at its position.
    void growRows(std::int32_t rows);

    // Hands every object held to `release` and then drops it.
    template <class Release>
    void drain(Release&& release) {
        for (Column& column : m_columns) {
            for (std::uint64_t& slot : column.head)
                drainSlot(slot, release);
            if (column.data == nullptr) continue;
            constexpr std::size_t kAhead = 16;  // the objects lie scattered over the heap
            const std::size_t count = dataCount();
            std::uint64_t previous = 0;
            for (std::size_t i = 0; i < count; ++i) {
                if (i + kAhead < count) prefetchSlot(column.data[i + kAhead]);
                std::uint64_t slot = column.data[i];
                // One error or "(circular)" down a column is handed over once.
                if (slot == previous && slot != 0 && !isNumberSlot(slot)) {
                    column.data[i] = 0;
                    releaseSlot(slot);
                    continue;
                }
                previous = slot;
                drainSlot(column.data[i], release);
            }
        }
    }

  private:
    struct Column {
        std::uint64_t head[2] = {0, 0};  // the summary row and the formula row
        std::uint64_t* data = nullptr;   // rows 1 ... rows - 1, made on the first write
        bool repeats = false;            // every data row shows the formula row's value
    };

    static constexpr std::uint64_t kNumberOffset = std::uint64_t{1} << 49;

    static bool isNumberSlot(std::uint64_t slot) noexcept { return slot >= kNumberOffset; }
    static double numberOf(std::uint64_t slot) noexcept {
        return std::bit_cast<double>(slot - kNumberOffset);
    }
    static Object* objectOf(std::uint64_t slot) noexcept {
        return slot == 0 ? nullObject() : reinterpret_cast<Object*>(slot);
    }
    static void retainSlot(std::uint64_t slot) noexcept {
        if (slot != 0 && !isNumberSlot(slot)) objectOf(slot)->retain();
    }
    static void releaseSlot(std::uint64_t slot) noexcept {
        if (slot != 0 && !isNumberSlot(slot)) objectOf(slot)->release();
    }
    static void prefetchSlot(std::uint64_t slot) noexcept {
        if (slot != 0 && !isNumberSlot(slot)) __builtin_prefetch(objectOf(slot));
    }
    template <class Release>
    static void drainSlot(std::uint64_t& slot, Release& release) {
        if (slot == 0 || isNumberSlot(slot)) return;
        std::uint64_t held = slot;
        slot = 0;
        release(*objectOf(held));
        releaseSlot(held);
    }
    // Takes a reference for a boxed value.
    static std::uint64_t slotFor(Object& value) noexcept;

    std::uint64_t slotAt(std::int32_t column, std::int32_t rowKey) const noexcept {
        const Column& entry = m_columns[static_cast<std::size_t>(column)];
        if (rowKey <= 0) return entry.head[rowKey + 1];
        if (entry.repeats) return entry.head[1];
        return entry.data == nullptr ? 0 : entry.data[rowKey - 1];
    }
    // The slot to write, the column's data made or spelled out as needed.
    std::uint64_t& slotToWrite(std::int32_t column, std::int32_t rowKey) {
        Column& entry = m_columns[static_cast<std::size_t>(column)];
        if (rowKey > 0 && entry.data != nullptr) return entry.data[rowKey - 1];
        return slotToWriteSlowly(entry, rowKey);
    }
    std::uint64_t& slotToWriteSlowly(Column& entry, std::int32_t rowKey);
    // Replaces a slot, letting go of what it held.
    static void replace(std::uint64_t& slot, std::uint64_t value) noexcept {
        std::uint64_t old = slot;
        slot = value;
        releaseSlot(old);
    }
    std::size_t dataCount() const noexcept {
        return m_rows > 1 ? static_cast<std::size_t>(m_rows - 1) : 0;
    }
    std::uint64_t* newData() const;
    void freeData(Column& column) noexcept;
    void swap(CellValues& other) noexcept {
        std::swap(m_rows, other.m_rows);
        std::swap(m_default, other.m_default);
        m_columns.swap(other.m_columns);
    }

    std::int32_t m_rows = 0;
    Pointer<Object> m_default;
    CountedVector<Column> m_columns;
};

}  // namespace qv
