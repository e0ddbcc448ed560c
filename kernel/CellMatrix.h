// CellMatrix: a fixed-size matrix of references indexed by column and row
// key (-1 ... rows - 1), stored row by row with the summary row first.
// Reads outside the bounds give the default element; writes outside are
// ignored. Used for show flags and calculators.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Pointer.h"
#include "core/StdAllocator.h"

namespace qv {

template <class T>
class CellMatrix {
  public:
    CellMatrix() = default;
    CellMatrix(std::int32_t columns, std::int32_t rows, const Pointer<T>& defaultElement = {})
        : m_columns(columns < 0 ? 0 : columns),
          m_rows(rows < 0 ? 0 : rows),
          m_default(defaultElement),
          m_entries(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows + 1)) {}

    std::int32_t columns() const noexcept { return m_columns; }
    // Row keys 0 ... rows - 1 exist besides the summary row -1.
    std::int32_t rows() const noexcept { return m_rows; }
    bool contains(std::int32_t column, std::int32_t rowKey) const noexcept {
        return column >= 0 && column < m_columns && rowKey >= -1 && rowKey < m_rows;
    }

    const Pointer<T>& at(std::int32_t column, std::int32_t rowKey) const noexcept {
        if (!contains(column, rowKey)) return m_default;
        return m_entries[index(column, rowKey)];
    }
    // The entry itself, for callers that checked contains().
    Pointer<T>& slot(std::int32_t column, std::int32_t rowKey) noexcept {
        return m_entries[index(column, rowKey)];
    }
    void set(std::int32_t column, std::int32_t rowKey, const Pointer<T>& value) {
        if (contains(column, rowKey)) m_entries[index(column, rowKey)] = value;
    }
    // Grows to `rows` row keys, keeping every entry at its position.
    void growRows(std::int32_t rows) {
        if (rows <= m_rows) return;
        CountedVector<Pointer<T>> grown(static_cast<std::size_t>(m_columns) *
                                        static_cast<std::size_t>(rows + 1));
        for (std::int32_t row = -1; row < m_rows; ++row) {
            for (std::int32_t column = 0; column < m_columns; ++column) {
                grown[static_cast<std::size_t>(row + 1) * static_cast<std::size_t>(m_columns) +
                      static_cast<std::size_t>(column)] = std::move(slot(column, row));
            }
        }
        m_entries = std::move(grown);
        m_rows = rows;
    }

    // Hands every entry, summary row first, to `release` and then drops
    // it. The objects ahead are fetched early: they lie scattered over the
    // heap, and waiting for each in turn is most of the time a large
    // table takes to let go of its values.
    template <class Release>
    void drain(Release&& release) {
        constexpr std::size_t kAhead = 16;
        const std::size_t count = m_entries.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kAhead < count) __builtin_prefetch(m_entries[i + kAhead].object());
            release(*m_entries[i].object());
            m_entries[i] = Pointer<T>();
        }
    }

  private:
    std::size_t index(std::int32_t column, std::int32_t rowKey) const noexcept {
        return static_cast<std::size_t>(rowKey + 1) * static_cast<std::size_t>(m_columns) +
               static_cast<std::size_t>(column);
    }

    std::int32_t m_columns = 0;
    std::int32_t m_rows = 0;
    Pointer<T> m_default;
    CountedVector<Pointer<T>> m_entries;
};

}  // namespace qv
