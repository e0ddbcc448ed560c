// CellPlace: one cell of a computation, as explanations and views point at
// it, and its name as a user writes it.
#pragma once

#include <cstdint>

#include "core/String.h"

namespace qv {

class ProgramResult;

// A cell of the kernel's current results: a table (its index among the
// program's tables), a field and a row key (-1 ... rowCount() - 1, as
// TableResult numbers them). `table` is -1 for a value made outside any
// table cell (an expression given to the kernel).
struct CellPlace {
    std::int32_t table = -1;
    std::int32_t field = -1;
    std::int32_t row = 0;

    bool isCell() const noexcept { return table >= 0; }
    bool operator==(const CellPlace&) const = default;
};

// The name of a cell written so that it reads back as an expression that
// names the same cell outside any table ("Prices[4].rate", "Prices.rate" for
// the formula row, "Prices[sum].rate", brackets where a name needs them; a
// data row goes by its number, since "T[name]" does not read a named row).
// The empty String for a place outside any table; throws "no such cell"
// for a place that names no cell of the results.
StringPointer cellName(ProgramResult& results, const CellPlace& place);

// The name of cell (field, row) of a table made by a what-if call, whose
// source text is `call` and which computes the program's table `table`:
// "Loc(a := 2)[3].b", "Loc(a := 2).b" for the formula row.
StringPointer localCellName(ProgramResult& results, const StringPointer& call, std::int32_t table,
                            std::int32_t field, std::int32_t row);

}  // namespace qv
