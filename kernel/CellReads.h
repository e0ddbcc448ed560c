// CellReads: the cells one cell's formula reads, found by running the
// formula again with a recorder on the evaluator. Nothing is stored: the
// cell keeps its value, and the cells it reads are only computed when they
// were not yet, as the kernel would compute them.
#pragma once

#include <cstdint>
#include <vector>

#include "kernel/AbstractCalculator.h"
#include "kernel/CellPlace.h"
#include "kernel/Evaluator.h"

namespace qv {

class ProgramResult;

struct CellReads {
    // The program cells read, in order, each once, at most the limit asked.
    std::vector<CellPlace> places;
    // More cells were read than the limit let through.
    bool truncated = false;
    // The watched cell (see readCells) was among the cells read.
    bool watchedRead = false;
    // Every read of a program cell, repeated ones too: the work done.
    std::int64_t readCount = 0;
};

// Runs the formula of `place` (computed first when it was not) and records
// the program cells it reads, keeping at most `limit`. A `watch` place is
// looked for among all the reads, kept or not. The caller checks `place`.
CellReads readCells(ProgramResult& results, const CellPlace& place, std::int32_t limit,
                    const CellPlace* watch = nullptr);

// The cells an already compiled expression reads outside any table, and
// its value (errors as values).
CellReads readExpression(ProgramResult& results, const CalculatorPointer& calculator,
                         std::int32_t limit, Pointer<Object>& value);

}  // namespace qv
