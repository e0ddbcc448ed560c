// CellReads: the cells one cell's formula reads, found by running the
// formula again with a recorder on the evaluator. Nothing is stored: the
// cell keeps its value, and the cells it reads are only computed when they
// were not yet, as the kernel would compute them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
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
    // A stop was requested before the formula had read all it reads.
    bool stopped = false;
    // The run ended at `maxReads`, before it had read all it reads.
    bool exhausted = false;
};

struct ReadBounds {
    // Cells kept; the formula's run ends at the first cell read past them.
    std::int32_t limit = 0;
    // When set, the cell looked for among all the reads, kept or not: the
    // run ends as soon as it is read, whatever the limit.
    const CellPlace* watch = nullptr;
    // Reads of program cells the run may make, repeated ones too; it ends
    // at the last (the search for dependents shares one budget).
    std::int64_t maxReads = INT64_MAX;
    // A request to stop ends the run at the next cell it reads.
    const std::atomic<bool>* stop = nullptr;
    // Told of each program cell read, before the run goes on (progress).
    std::function<void(const CellPlace&)> onRead;
};

// Runs the formula of `place` (computed first when it was not) and records
// the program cells it reads, within `bounds`. A run ended early changes
// no value. The caller checks `place`.
CellReads readCells(ProgramResult& results, const CellPlace& place, const ReadBounds& bounds);

// The cells an already compiled expression reads outside any table, and
// its value (errors as values). It runs to its end: its value is wanted.
CellReads readExpression(ProgramResult& results, const CalculatorPointer& calculator,
                         std::int32_t limit, Pointer<Object>& value);

}  // namespace qv
