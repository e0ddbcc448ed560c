// Evaluator: computes evaluatables lazily with caching, detects circular
// references through the OnStack marker in the cache, tries the
// alternatives of an "alt" formula in order, and turns errors into values.
// Errors read from other cells travel back as the raised marker (see
// kernel/Raised.h); messages raised by formulas travel as a thrown
// StringPointer, which only the cell that raised it ever sees.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <tuple>

#include "core/Values.h"
#include "core/Warning.h"
#include "kernel/AbstractEvaluatable.h"
#include "kernel/Raised.h"

namespace qv {

// Told of every cell an evaluator reads while it is set (explaining a cell
// re-runs its formula with one). Computations run without one.
class ReadRecorder {
  public:
    enum class Note : std::uint8_t {
        // The reads made while computing that cell are the reader's too.
        Reader,
        // They are the cell's own: they are not told while it computes.
        Own,
        // The recorder has all it wants: the read raises ReadsEnough.
        Enough,
    };
    virtual Note noteRead(AbstractEvaluatable& evaluatable) = 0;

  protected:
    ~ReadRecorder() = default;
};

// Thrown through the calculators when the recorder has enough; whoever set
// the recorder catches it and puts the evaluator back (Evaluator::State).
// Not a std::exception, which the evaluator would turn into a cell's value.
struct ReadsEnough {};

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
    // For calculators that read another cell: a cell holding an error, a
    // special value or a cycle gives the raised marker, which the caller
    // returns at once.
    Pointer<Object> evaluate(AbstractEvaluatable& evaluatable);

    // What a raised marker carries.
    enum class RaisedKind : std::uint8_t { None, Warning, Special };
    // Sets the failure on its way and returns the marker that carries it;
    // `place` is the cell that holds the warning when it is the error itself
    // (the warning has no origin), so that its readers can point there.
    Pointer<Object> raiseWarning(const Pointer<Object>& warning, const CellPlace& place = {});
    // `place` names the loop of one cell that the shared "(circular)" stands
    // for, so that a reader outside that loop can point there.
    Pointer<Object> raiseSpecial(const Pointer<Object>& special, const CellPlace& place = {});
    RaisedKind raisedKind() const noexcept { return m_raisedKind; }
    const Pointer<Object>& raisedValue() const noexcept { return m_raised; }
    const CellPlace& raisedPlace() const noexcept { return m_raisedPlace; }
    // Whether the failure on its way is a cycle met while an alternative is
    // pending: it must reach that alternative's cell, whoever it passes.
    bool raisedCycleWithPending() const noexcept {
        return m_raisedKind == RaisedKind::Special && m_pendingAlternatives > 0 &&
               m_raised->equals(*m_circular);
    }
    // The failure on its way (the Warning read, or the special value), which
    // the catcher takes; nothing is on its way afterwards.
    Pointer<Object> takeRaised();

    // A request to stop, set from another thread: every cell not yet
    // computed then holds "calculation stopped" instead of its value.
    void setStopFlag(const std::atomic<bool>* stop) noexcept { m_stop = stop; }
    bool stopRequested() const noexcept {
        return m_stop != nullptr && m_stop->load(std::memory_order_relaxed);
    }

    // Sets or clears (null) the recorder of the cells read; not owned.
    void setRecorder(ReadRecorder* recorder) noexcept { m_recorder = recorder; }
    bool recording() const noexcept { return m_recorder != nullptr; }
    // Whether arithmetic on computed numbers may skip the round through
    // evaluate (see AbstractCalculator::evaluateNumber): never while
    // explaining, which must see every read. Tests turn it off for all
    // evaluators to compare both ways.
    bool numberShortcuts() const noexcept { return m_recorder == nullptr && s_numberShortcuts; }
    static void setNumberShortcuts(bool on) noexcept { s_numberShortcuts = on; }

    // What a computation abandoned halfway (ReadsEnough) may leave behind:
    // taken before it and put back after it.
    class State;
    [[gnu::cold]] State state() const;
    [[gnu::cold]] void restore(const State& state);

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
    Pointer<Object> raiseIfError(AbstractEvaluatable& evaluatable, Object* value);
    Pointer<Object> evaluateAlternatives(AbstractEvaluatable& evaluatable);
    [[gnu::cold, gnu::noinline]] Pointer<Object> refusal(const AbstractEvaluatable& evaluatable);
    [[gnu::cold, gnu::noinline]] Pointer<Object> closeCycle(AbstractEvaluatable& evaluatable);
    [[gnu::cold, gnu::noinline]] Pointer<Object> circularFor(const AbstractEvaluatable& evaluatable,
                                                             const CellPlace& loop);
    [[gnu::cold, gnu::noinline]] void noteUnwound(const AbstractEvaluatable& evaluatable,
                                                  const Object& value);
    [[gnu::cold, gnu::noinline]] Pointer<Object> raiseSpecialRead(const AbstractEvaluatable& holder,
                                                                  const Object& value);
    [[gnu::cold, gnu::noinline]] Pointer<Object> raiseOrigin(const AbstractEvaluatable& holder,
                                                             Object* error);
    [[gnu::cold, gnu::noinline]] Pointer<Object> dependsOn(const Pointer<Object>& warning,
                                                           const CellPlace& place);
    Pointer<Object> evaluateOneLevelDown(AbstractEvaluatable& evaluatable);
    Pointer<Object> settleRaised(const AbstractEvaluatable& evaluatable, bool last, bool& next);

    // The cells being computed, innermost first: a cycle asks whether the
    // cell it meets again is the one reading it.
    struct Frame {
        const AbstractEvaluatable* evaluatable;
        const Frame* outer;
    };
    class Level;

  public:
    class State {
        friend class Evaluator;
        std::int32_t m_depth = 0;
        std::int32_t m_pendingAlternatives = 0;
        const Frame* m_innermost = nullptr;
        const Frame* m_selfReading = nullptr;
        RaisedKind m_raisedKind = RaisedKind::None;
        Pointer<Object> m_raised;
        CellPlace m_raisedPlace;
    };

  private:
    [[gnu::cold, gnu::noinline]] const Frame* selfReading(const CellPlace& place) const;
    using PlaceKey = std::tuple<std::int32_t, std::int32_t, std::int32_t>;
    Pointer<Object> evaluateUnrecorded(AbstractEvaluatable& evaluatable);
    [[gnu::cold, gnu::noinline]] Pointer<Object> evaluateRecorded(AbstractEvaluatable& evaluatable);

    Pointer<Object> m_nullResult;
    Pointer<StringSpecialValue> m_circular;
    // Every cell that reads an error holds the same message; one object per
    // cell where an error began serves all the cells that depend on it, and
    // one without an origin serves those whose error began outside a cell.
    Pointer<Object> m_dependsOnError;
    std::map<PlaceKey, Pointer<Object>> m_dependsOn;
    // A cell that reads itself keeps the shared "(circular)"; the value
    // last made for the cells reading such a cell, and that cell.
    Pointer<Object> m_lastLoopRead;
    CellPlace m_lastLoop;
    const std::atomic<bool>* m_stop = nullptr;
    ReadRecorder* m_recorder = nullptr;
    static inline bool s_numberShortcuts = true;
    Pointer<Object> m_stopped;
    RaisedKind m_raisedKind = RaisedKind::None;
    Pointer<Object> m_raised;
    CellPlace m_raisedPlace;
    std::int32_t m_pendingAlternatives = 0;
    std::int32_t m_depth = 0;
    std::int32_t m_maxDepth;
    const Frame* m_innermost = nullptr;
    // The cell that has just met itself, until anything else is raised.
    const Frame* m_selfReading = nullptr;
};

}  // namespace qv
