// Evaluator: computes evaluatables lazily with caching, detects circular
// references through the OnStack marker in the cache, tries the
// alternatives of an "alt" formula in order, and turns errors into values.
#pragma once

#include <cstdint>

#include "core/Values.h"
#include "core/Warning.h"
#include "kernel/AbstractEvaluatable.h"

namespace qv {

class Evaluator {
  public:
    // Deepest chain of cells computing each other that one evaluation may
    // build; deeper requests give the cell "calculation nested too deeply".
    // The kernel computes on a large stack (core/LargeStack.h), sized for
    // this many links of plain formulas. A chain whose formulas are fat
    // enough to exhaust the stack first is stopped by the stack reserve
    // below with the same message, whatever thread computes it.
    static constexpr std::int32_t kMaxDepth = 2'000'000;

    // `maxDepth` lowers the bound for one evaluator (tests of the bound
    // itself); computations use kMaxDepth.
    explicit Evaluator(std::int32_t maxDepth = kMaxDepth);
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    // For callers outside the calculator tree: errors come back as values.
    Pointer<Object> evaluateTop(AbstractEvaluatable& evaluatable);
    // For calculators that read another cell: errors are raised.
    Pointer<Object> evaluate(AbstractEvaluatable& evaluatable);

    const Pointer<Object>& nullResult() const noexcept { return m_nullResult; }
    const Pointer<StringSpecialValue>& circularValue() const noexcept { return m_circular; }
    std::int32_t pendingAlternatives() const noexcept { return m_pendingAlternatives; }
    // Levels of cells and calls being computed right now.
    std::int32_t depth() const noexcept { return m_depth; }

    // Counts one more level of nesting for calls that recurse without the
    // cache (user functions); raises "calculation nested too deeply" past the
    // bound or when the thread's stack runs low.
    class Nesting {
      public:
        explicit Nesting(Evaluator& evaluator);
        ~Nesting() { --m_evaluator.m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        Evaluator& m_evaluator;
    };

    // True when the calling thread's stack has less left than the reserve
    // that one more level of computing may need.
    static bool stackExhausted() noexcept;

  private:
    void raiseIfError(AbstractEvaluatable& evaluatable, Object* value);
    Pointer<Object> evaluateAlternatives(AbstractEvaluatable& evaluatable);

    Pointer<Object> m_nullResult;
    Pointer<StringSpecialValue> m_circular;
    std::int32_t m_pendingAlternatives = 0;
    std::int32_t m_depth = 0;
    std::int32_t m_maxDepth;
};

// Raising the three kinds of errors of a computation.
[[noreturn]] void raiseWarning(const Pointer<Warning>& warning);
[[noreturn]] void raiseSpecial(const Pointer<SpecialValue>& special);
[[noreturn]] void raiseSpecialText(const char* text);

}  // namespace qv
