// AbstractEvaluatable: anything the Evaluator computes — a cell, a table's
// base resolution, a visibility decision. Its cache slot holds its state:
// the null object (uncomputed), the OnStack marker (being computed) or the
// value (computed).
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"
#include "kernel/CellPlace.h"

namespace qv {

class Evaluator;

class AbstractEvaluatable {
  public:
    virtual ~AbstractEvaluatable() = default;

    // The cache slot's value; the null object when uncomputed.
    virtual Pointer<Object> cachedValue() const = 0;
    virtual void setCachedValue(const Pointer<Object>& value) = 0;
    virtual Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) = 0;
    virtual std::int32_t alternativesOf() { return 1; }
    // The cell of the program's results this is, asked only where an error
    // is made; no cell (table -1) for anything else.
    [[gnu::cold]] virtual CellPlace place() const { return {}; }
    // For what is no cell of the results yet has a name (a local table's
    // cell) and holds `error`, an error that began there: the warning its
    // readers share, which names it. The null object for the rest.
    [[gnu::cold]] virtual Pointer<Object> readersWarning(const Pointer<Object>& /*error*/) const {
        return {};
    }
};

}  // namespace qv
