// AbstractCalculator: a compiled formula node. The kernel compiles every
// formula once into a tree of calculators; evaluation only follows indexes.
// Errors leave a calculator by being raised: a message (StringPointer), or a
// Pointer<Warning> or Pointer<SpecialValue> passed on from a cell it read.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/TVector.h"

namespace qv {

class ResultEvaluatable;
using EvaluationContext = ResultEvaluatable;

class AbstractCalculator : public Object {
    QV_ABSTRACT_OBJECT(AbstractCalculator, Object)
  public:
    virtual std::int32_t alternativeCount() const { return 1; }
    virtual Pointer<AbstractCalculator> alternativeAt(std::int32_t) const { return {}; }
    // Whether the value may differ from row to row of the field (every row is
    // then computed on its own rather than repeating the formula row's value).
    virtual bool shouldShowAll(EvaluationContext&) const { return false; }
    virtual bool shouldShow(EvaluationContext& context) const { return shouldShowAll(context); }
    virtual Pointer<Object> evaluate(EvaluationContext& context) const = 0;
    // The value as a plain number, when it is one that can be had without
    // boxing: literals, cells already computed, arithmetic on them. False
    // means nothing was done, and the caller evaluates as usual. Most cells
    // of a large model are arithmetic on numbers in the same row.
    virtual bool evaluateNumber(EvaluationContext&, double&) const { return false; }
    // The same for a truth value: 1 true, 0 false, -1 not known that way.
    virtual int evaluateTruth(EvaluationContext&) const { return -1; }
    // Comparisons read their left operand in the first context and their
    // right operand in the second; everything else evaluates in the first.
    virtual Pointer<Object> evaluatePair(EvaluationContext& first, EvaluationContext&) const {
        return evaluate(first);
    }
    // The accessible object itself (a row, a column) rather than a plain value.
    virtual Pointer<Object> evaluateReference(EvaluationContext& context) const {
        return evaluate(context);
    }
    virtual bool isRange() const { return false; }
};

using CalculatorPointer = Pointer<AbstractCalculator>;
using CalculatorList = TVector<AbstractCalculator>;

// A calculator that caches values between rows. The linked program keeps a
// list of them to make them forget when its result is discarded, and so
// needs to know no kind of calculator.
class CachingCalculator {
  public:
    virtual void forget() const = 0;

  protected:
    ~CachingCalculator() = default;
};

}  // namespace qv
