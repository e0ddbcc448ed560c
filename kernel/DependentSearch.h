// DependentSearch: the cells whose formulas read one cell. The fields that
// may read it are narrowed first by their formulas' text (the cell's field
// or table named, "prev" in the field itself, a user function whose body
// names them, or rows with formulas of their own); each cell of those is
// then confirmed by running its formula again. Rows are searched nearest
// first within the cell's own table, in order elsewhere, and only as many
// as the search may take.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "kernel/CellPlace.h"

namespace qv {

class ProgramResult;

struct DependentBounds {
    // Dependents kept; the search ends with the last one.
    std::int32_t maxCells = 10000;
    // Formulas run again to confirm a candidate.
    std::int32_t maxScanned = 10000;
    // Cells those formulas may read in all: an aggregate over a long column
    // reads it from the top down to the cell each time it runs. A run that
    // would pass the bound ends there and confirms nothing.
    std::int64_t maxReads = 1'000'000;
    const std::atomic<bool>* stop = nullptr;
};

struct FoundDependents {
    std::vector<CellPlace> cells;
    // False when a bound or a stop ended the search before every cell that
    // might read the place was confirmed or ruled out.
    bool complete = true;
};

// A field whose data rows all repeat its formula row (no formula of their
// own, a value that cannot differ by row) is found by its formula row only.
FoundDependents findDependents(ProgramResult& results, const CellPlace& place,
                               const DependentBounds& bounds);

}  // namespace qv
