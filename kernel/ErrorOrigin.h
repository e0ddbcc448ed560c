// Where errors began, as the error values carry it: a cell that made an
// error (read through the "depends on" warning of the cells that read it),
// the loop of a cycle, the place a computation stopped. Made only when an
// error is made; a plain value carries none of it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Object.h"
#include "core/String.h"
#include "kernel/CellPlace.h"

namespace qv {

// A cell of the results where an error began or a computation stopped, or
// the cell a special value ("(range)", "(sort)") was read from.
class ErrorOrigin final : public Object {
    QV_OBJECT(ErrorOrigin, Object, "ErrorOrigin")
  public:
    explicit ErrorOrigin(const CellPlace& place) : m_place(place) {}
    const CellPlace& place() const noexcept { return m_place; }

  private:
    CellPlace m_place;
};

// A cycle of two or more cells, one per loop met: the cell that found
// itself being computed again closes it, and the cells of the loop are
// gathered as the failure unwinds through them, from the last reader back to that cell. Gathering
// on the way costs nothing until a cycle exists, and the loop is known
// exactly as the computation ran it (alternatives and data ranges
// included), which no later look at the formulas could tell.
class CycleOrigin final : public Object {
    QV_OBJECT(CycleOrigin, Object, "CycleOrigin")
  public:
    explicit CycleOrigin(const CellPlace& closing) : m_closing(closing) {
        m_closed = !closing.isCell();
    }

    // A cell the failure left: part of the loop until the loop is whole.
    void unwound(const CellPlace& place) {
        if (m_closed || !place.isCell()) return;
        m_closed = place == m_closing;
        if (!m_closed) m_unwound.push_back(place);
    }
    bool closed() const noexcept { return m_closed; }
    // The loop in reading order starting with the closing cell: each cell
    // reads the next, the last reads the first. A loop left before it was
    // whole (an alternative took over) gives the cells it passed.
    std::vector<CellPlace> loop() const {
        std::vector<CellPlace> cells;
        if (m_closed) cells.push_back(m_closing);
        cells.insert(cells.end(), m_unwound.rbegin(), m_unwound.rend());
        return cells;
    }

  private:
    CellPlace m_closing;
    std::vector<CellPlace> m_unwound;
    bool m_closed = false;
};

// A cell holding the shared "(circular)" of a loop of one cell (the loop
// itself, or a cell that read it), named for a reader that is no program
// cell: an expression or a local table's cell, which nothing could follow
// later. Program cells keep the shared value and carry no record.
class OneCellLoop final : public Object {
    QV_OBJECT(OneCellLoop, Object, "OneCellLoop")
  public:
    explicit OneCellLoop(const CellPlace& cell) : m_cell(cell) {}
    const CellPlace& cell() const noexcept { return m_cell; }

  private:
    CellPlace m_cell;
};

// A cell of a what-if local table where an error began: no cell of the
// results, so it is named by the call as written ("Loc(a := 2)"), the
// program table the call computes and the cell's field and row there. The
// error is the first one met at that cell of that call (see LocalCallSite).
class LocalCellOrigin final : public Object {
    QV_OBJECT(LocalCellOrigin, Object, "LocalCellOrigin")
  public:
    LocalCellOrigin(const StringPointer& call, std::int32_t table, std::int32_t field,
                    std::int32_t row, const Pointer<Object>& error)
        : m_call(call), m_error(error), m_table(table), m_field(field), m_row(row) {}
    const StringPointer& call() const noexcept { return m_call; }
    const Pointer<Object>& error() const noexcept { return m_error; }
    std::int32_t table() const noexcept { return m_table; }
    std::int32_t field() const noexcept { return m_field; }
    std::int32_t row() const noexcept { return m_row; }

  private:
    StringPointer m_call;
    Pointer<Object> m_error;
    std::int32_t m_table;
    std::int32_t m_field;
    std::int32_t m_row;
};

}  // namespace qv
