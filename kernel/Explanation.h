// Explanation: why a cell holds what it holds. An error names the cell where
// it began (or the cycle it belongs to); any value unfolds into the cells it
// read, and a cell lists the cells that read it. Everything here is computed
// on request for the asked cell only: a computation pays nothing for it
// beyond what the error values themselves carry.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "kernel/CellPlace.h"

namespace qv {

class Kernel;

// A cell as a user reads it: its place, its name written so that it reads
// back as an expression ("Prices[4].rate", brackets where a name needs
// them), its formula (the source text of the formula that computes it, the
// row's own override where it has one; empty when it has none) and its value.
struct CellFacts {
    CellPlace place;
    StringPointer name;
    StringPointer formula;
    Pointer<Object> value;
};

// The facts of a cell of computed results (`place` names a cell of them), on
// the calling thread: what the answers below are made of.
CellFacts cellFacts(ProgramResult& results, const CellPlace& place);

// Whether two cells are the same; cells outside every table of the results
// (an origin in a what-if's local table) are known by their names.
bool sameCell(const CellFacts& a, const CellFacts& b);

// Why a cell holds an error.
struct Cause {
    enum class Kind : std::uint8_t {
        None,     // the value is no error
        Origin,   // the error began in `origin` (possibly the asked cell itself)
        Cycle,    // the value belongs to, or depends on, the cycle `cycle`
        Stopped,  // the computation was stopped; `origin` is where it stopped
    };
    Kind kind = Kind::None;
    // Kind::Origin and Kind::Stopped: the cell (or expression) where the
    // error was made, with its own message as value.
    CellFacts origin;
    // Kind::Cycle: the cells of the loop in reading order, each once (the
    // first reads the second, ..., the last reads the first).
    std::vector<CellFacts> cycle;
    // The cause in words, for the formula line and `qvl ... --why`:
    //   "caused by Prices[4].rate: division by zero"
    //   "cycle: Loan[3].rate -> Loan[3].payment -> Loan[3].rate"
    // and the empty String for Kind::None.
    StringPointer text;
};

// What explaining a cell may take: a bound on depth and a flag another
// thread may set to stop (the desktop's explain view unfolding on demand).
struct ExplainLimits {
    std::int32_t maxDepth = 64;
    std::int32_t maxCells = 10000;
    // Formulas run again while looking for the cells that read a cell: the
    // rows of a long table beyond them are not searched.
    std::int32_t maxScanned = 10000;
    // The cells those formulas may read in all (an aggregate reads its
    // column down to the cell each time), which keeps the first level of
    // a 1,000,000-row model's dependents within tens of milliseconds.
    std::int64_t maxReads = 1'000'000;
    const std::atomic<bool>* stop = nullptr;
};

// The kernel's answers about one cell of its current results (computing
// them first when needed, on the kernel's large-stack thread). A place that
// names no cell of the results throws "no such cell".
class Explanation {
  public:
    explicit Explanation(Kernel& kernel) : m_kernel(kernel) {}

    CellFacts facts(const CellPlace& place);
    // The cause of the value of `place`; following it takes one step from
    // any cell that depends on an error to the cell where it began.
    Cause cause(const CellPlace& place);
    // The cause of a value computed at `place` (the null place for an
    // expression outside any table), as `cause` and `expression` give it.
    Cause causeOfValue(const Pointer<Object>& value, const CellPlace& place);
    // The cells whose values the cell's formula read, in the order it read
    // them, each once.
    std::vector<CellFacts> precedents(const CellPlace& place, const ExplainLimits& limits = {});
    // The cells whose formulas read the cell, each once, at most
    // `limits.maxCells` of them. `complete`, when given, tells whether the
    // list is whole: false when a bound or a stop ended the search before
    // every cell that might read the cell was looked at, so that more
    // readers may exist than the list holds.
    std::vector<CellFacts> dependents(const CellPlace& place, const ExplainLimits& limits = {},
                                      bool* complete = nullptr);
    // The place a name such as "Prices[4].rate" or "Prices.rate" (the
    // formula row) names in the current results; throws the reader's
    // message when it names no cell.
    CellPlace placeOf(const StringPointer& name);

    // An expression computed as `qvl eval` computes it (outside any table):
    // its value, the cells it read and, for an error, its cause.
    struct ExpressionFacts {
        Pointer<Object> value;
        std::vector<CellFacts> precedents;
        Cause cause;
    };
    ExpressionFacts expression(const StringPointer& text, const ExplainLimits& limits = {});

  private:
    Kernel& m_kernel;
};

}  // namespace qv
