#include "kernel/Evaluator.h"

#include <pthread.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <new>

#include "core/Assert.h"
#include "core/Number.h"
#include "kernel/ErrorOrigin.h"
#include "kernel/ValueKinds.h"

namespace qv {

namespace {

constexpr const char* kNestedTooDeeply = "calculation nested too deeply";

// Stack kept free below the deepest cell being computed: room for what runs
// between two checks (one formula's calculators, whose nesting the parser
// bounds, the library functions they call, unwinding) and for the error
// handling itself. A sixteenth of the stack, at least this much.
constexpr std::size_t kMinimumStackReserve = std::size_t{1} << 20;

// The lowest frame address at which the calling thread may still start
// another level, or null when the thread's stack cannot be learned.
const char* computeStackFloor() noexcept {
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0) return nullptr;
    void* lowest = nullptr;
    std::size_t size = 0;
    bool known = pthread_attr_getstack(&attributes, &lowest, &size) == 0;
    pthread_attr_destroy(&attributes);
    if (!known || lowest == nullptr) return nullptr;
    std::size_t reserve = std::max(kMinimumStackReserve, size / 16);
    // A stack smaller than the reserve leaves the count as the only bound.
    if (reserve >= size) return nullptr;
    return static_cast<const char*>(lowest) + reserve;
}

// The floor of the calling thread, learned once per thread: the kernel
// computes on threads of its own, views may read cells on theirs.
const char* stackFloor() noexcept {
    thread_local const char* const floor = computeStackFloor();
    return floor;
}

// Numbers, texts and truth values are by far the most common cached values;
// they skip the error tests.
[[gnu::always_inline]] inline bool isPlainValue(const Object& value) {
    TypeId id = value.classTypeId();
    return id == Double::typeId() || id == String::typeId() || id == Boolean::typeId();
}

Pointer<Object> newWarning(const char* message) {
    return make<Warning>(str(message));
}

}  // namespace

constinit RaisedMarker g_raisedMarker;

// One level of cell nesting, counted and linked for as long as it lives,
// whatever leaves it. The frame lives apart, so that what the level keeps
// does not escape with the frame's address and may stay in registers.
class Evaluator::Level {
  public:
    Level(Evaluator& evaluator, const Frame& frame) : m_evaluator(evaluator), m_outer(frame.outer) {
        ++m_evaluator.m_depth;
        m_evaluator.m_innermost = &frame;
    }
    ~Level() {
        --m_evaluator.m_depth;
        m_evaluator.m_innermost = m_outer;
    }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

  private:
    Evaluator& m_evaluator;
    const Frame* m_outer;
};

// Calls that recurse without the cache (user functions, local tables) may
// run long inside one cell; they look for a request to stop here.
Evaluator::Nesting::Nesting(Evaluator& evaluator) : m_evaluator(evaluator) {
    if (m_evaluator.stopRequested()) throw str(kStoppedText);
    if (m_evaluator.m_depth >= m_evaluator.m_maxDepth || stackExhausted()) {
        throw str(kNestedTooDeeply);
    }
    ++m_evaluator.m_depth;
}

bool Evaluator::stackExhausted() noexcept {
    // The frame address, not a local's: a sanitizer may keep locals elsewhere.
    const char* floor = stackFloor();
    return floor != nullptr && static_cast<const char*>(__builtin_frame_address(0)) < floor;
}

Evaluator::Evaluator(std::int32_t maxDepth)
    : m_nullResult(NullResult::instance()),
      m_circular(make<StringSpecialValue>(str(kCircularText))),
      m_maxDepth(maxDepth) {}

Pointer<Object> Evaluator::raiseWarning(const Pointer<Object>& warning, const CellPlace& place) {
    QV_ASSERT(m_raisedKind == RaisedKind::None);
    m_raisedKind = RaisedKind::Warning;
    m_raised = warning;
    m_raisedPlace = place;
    return Pointer<Object>(raisedMarker());
}

Pointer<Object> Evaluator::raiseSpecial(const Pointer<Object>& special, const CellPlace& place) {
    QV_ASSERT(m_raisedKind == RaisedKind::None);
    m_raisedKind = RaisedKind::Special;
    m_raised = special;
    m_raisedPlace = place;
    m_selfReading = nullptr;
    return Pointer<Object>(raisedMarker());
}

Pointer<Object> Evaluator::takeRaised() {
    QV_ASSERT(m_raisedKind != RaisedKind::None);
    m_raisedKind = RaisedKind::None;
    Pointer<Object> raised = std::move(m_raised);
    m_raised = Pointer<Object>();
    return raised;
}

Pointer<Object> Evaluator::evaluateTop(AbstractEvaluatable& evaluatable) {
    m_pendingAlternatives = 0;
    Pointer<Object> value = evaluate(evaluatable);
    if (isRaised(value)) return takeRaised();
    return value;
}

[[gnu::always_inline]] inline Pointer<Object> Evaluator::evaluateUnrecorded(
    AbstractEvaluatable& evaluatable) {
    Pointer<Object> cached = evaluatable.cachedValue();
    if (!cached.isNull()) {
        if (isPlainValue(*cached.object())) return cached;
        return raiseIfError(evaluatable, cached.object());
    }
    Pointer<Object> result = m_depth >= m_maxDepth || stopRequested() || stackExhausted()
                                 ? refusal(evaluatable)
                                 : evaluateOneLevelDown(evaluatable);
    if (m_pendingAlternatives > 0 && result->equals(*m_circular)) {
        evaluatable.setCachedValue(Pointer<Object>());
    } else {
        evaluatable.setCachedValue(result);
    }
    if (isPlainValue(*result.object())) return result;
    if (result != m_circular && result->classTypeId() == StringSpecialValue::typeId()) {
        noteUnwound(evaluatable, *result);
    }
    return raiseIfError(evaluatable, result.object());
}

Pointer<Object> Evaluator::evaluate(AbstractEvaluatable& evaluatable) {
    if (m_recorder != nullptr) [[unlikely]]
        return evaluateRecorded(evaluatable);
    return evaluateUnrecorded(evaluatable);
}

// A read while explaining: the recorder is told, and is off while the cell
// read computes its own value when that computation is the cell's business
// rather than the reader's.
Pointer<Object> Evaluator::evaluateRecorded(AbstractEvaluatable& evaluatable) {
    ReadRecorder* recorder = m_recorder;
    ReadRecorder::Note note = recorder->noteRead(evaluatable);
    if (note == ReadRecorder::Note::Enough) throw ReadsEnough{};
    if (note == ReadRecorder::Note::Reader) {
        try {
            return evaluateUnrecorded(evaluatable);
        } catch (const ReadsEnough&) {
            // A cell left halfway is as it was before: not computed.
            if (evaluatable.cachedValue()->isInstanceOf(OnStack::typeId()))
                evaluatable.setCachedValue(Pointer<Object>());
            throw;
        }
    }
    struct Restore {
        Evaluator& evaluator;
        ReadRecorder* recorder;
        ~Restore() { evaluator.m_recorder = recorder; }
    } restore{*this, recorder};
    m_recorder = nullptr;
    return evaluateUnrecorded(evaluatable);
}

Evaluator::State Evaluator::state() const {
    State state;
    state.m_depth = m_depth;
    state.m_pendingAlternatives = m_pendingAlternatives;
    state.m_innermost = m_innermost;
    state.m_selfReading = m_selfReading;
    state.m_raisedKind = m_raisedKind;
    state.m_raised = m_raised;
    state.m_raisedPlace = m_raisedPlace;
    return state;
}

void Evaluator::restore(const State& state) {
    m_depth = state.m_depth;
    m_pendingAlternatives = state.m_pendingAlternatives;
    m_innermost = state.m_innermost;
    m_selfReading = state.m_selfReading;
    m_raisedKind = state.m_raisedKind;
    m_raised = state.m_raised;
    m_raisedPlace = state.m_raisedPlace;
}

Pointer<Object> Evaluator::evaluateOneLevelDown(AbstractEvaluatable& evaluatable) {
    const Frame frame{&evaluatable, m_innermost};
    Level level(*this, frame);
    return evaluateAlternatives(evaluatable);
}

// What a cell gets instead of being computed: a stop was requested, or the
// chain of cells computing each other is too deep.
// The first cell refused for a stop is where the computation stopped.
Pointer<Object> Evaluator::refusal(const AbstractEvaluatable& evaluatable) {
    if (stopRequested()) {
        // A special value, so that every cell waiting on this one shows the
        // same words rather than "depends on cell that contain error".
        if (m_stopped.isNull()) {
            m_stopped =
                make<StringSpecialValue>(str(kStoppedText), make<ErrorOrigin>(evaluatable.place()));
        }
        return m_stopped;
    }
    return newWarning(kNestedTooDeeply);
}

// A cycle closed by the cell being computed again. A cell that reads
// itself is a loop of its own and keeps the shared "(circular)", which
// allocates nothing; a longer loop is a value of its own, so that it can
// gather its loop and every cell in or after it shares it.
Pointer<Object> Evaluator::closeCycle(AbstractEvaluatable& evaluatable) {
    CellPlace place = evaluatable.place();
    if (const Frame* self = selfReading(place)) {
        evaluatable.setCachedValue(m_pendingAlternatives > 0 ? Pointer<Object>() : m_circular);
        Pointer<Object> marker = raiseSpecial(m_circular, place);
        m_selfReading = self;
        return marker;
    }
    Pointer<Object> cycle = make<StringSpecialValue>(m_circular->text(), make<CycleOrigin>(place));
    evaluatable.setCachedValue(m_pendingAlternatives > 0 ? Pointer<Object>() : cycle);
    return raiseSpecial(cycle);
}

// The frame of the innermost cell being computed when that cell is `place`
// itself, else null; what is no cell of the program (a decision, a local
// table) is looked through.
const Evaluator::Frame* Evaluator::selfReading(const CellPlace& place) const {
    if (!place.isCell()) return nullptr;
    for (const Frame* frame = m_innermost; frame != nullptr; frame = frame->outer) {
        CellPlace reader = frame->evaluatable->place();
        if (reader.isCell()) return reader == place ? frame : nullptr;
    }
    return nullptr;
}

// What a cell that read the shared "(circular)" of the loop of one cell
// `loop` holds. A program cell keeps the shared value itself, as the loop
// does: a model may have a loop in every row and readers of each, and the
// loop is found on request by following what the cell read (see
// ExplainCause.cpp). What is no program cell (an expression, a local
// table's cell) cannot be followed later, so it gets a value naming the
// loop; readers of the same loop in a row share one.
Pointer<Object> Evaluator::circularFor(const AbstractEvaluatable& evaluatable,
                                       const CellPlace& loop) {
    if (!loop.isCell() || evaluatable.place().isCell()) return m_circular;
    if (m_lastLoopRead.isNull() || m_lastLoop != loop) {
        m_lastLoop = loop;
        m_lastLoopRead = make<StringSpecialValue>(m_circular->text(), make<OneCellLoop>(loop));
    }
    return m_lastLoopRead;
}

void Evaluator::noteUnwound(const AbstractEvaluatable& evaluatable, const Object& value) {
    const Pointer<Object>& cause = static_cast<const StringSpecialValue&>(value).cause();
    if (!cause.isNull() && cause->isInstanceOf(CycleOrigin::typeId())) {
        auto& cycle = static_cast<CycleOrigin&>(*cause.object());
        if (!cycle.closed()) cycle.unwound(evaluatable.place());
    }
}

// What a cell that read `warning` holds: the warning itself when it already
// passes on an error, else the one "depends on" warning of its origin.
Pointer<Object> Evaluator::dependsOn(const Pointer<Object>& warning, const CellPlace& place) {
    if (is<Warning>(warning) && !cast<Warning>(warning)->origin().isNull()) return warning;
    if (!place.isCell()) {
        if (m_dependsOnError.isNull()) m_dependsOnError = make<Warning>(str(kDependsOnErrorText));
        return m_dependsOnError;
    }
    Pointer<Object>& shared = m_dependsOn[{place.table, place.field, place.row}];
    if (shared.isNull()) shared = make<Warning>(str(kDependsOnErrorText), make<ErrorOrigin>(place));
    return shared;
}

// An error that began in the cell read: its readers point at that cell. A
// cell that is no cell of the results but has a name (a local table's)
// gives them the warning they share, which names it.
Pointer<Object> Evaluator::raiseOrigin(const AbstractEvaluatable& holder, Object* error) {
    Pointer<Object> warning(error);
    CellPlace place = holder.place();
    if (!place.isCell()) {
        Pointer<Object> shared = holder.readersWarning(warning);
        if (!shared.isNull()) return raiseWarning(shared);
    }
    return raiseWarning(warning, place);
}

// A special value that records nothing. The shared "(circular)" of another
// evaluator (the kernel's, read by an expression) is a loop of one cell as
// this evaluator's own is. Any other special value reaches its reader as
// its text (never a range object itself), naming the program cell it was
// read from; the reader's own readers pass that copy on, so it is made
// once per cell read, and only when such a value is read.
Pointer<Object> Evaluator::raiseSpecialRead(const AbstractEvaluatable& holder,
                                            const Object& value) {
    if (m_circular->equals(value)) {
        return raiseSpecial(m_circular, m_depth > 0 ? holder.place() : CellPlace{});
    }
    CellPlace place = holder.place();
    if (!place.isCell()) return raiseSpecial(make<StringSpecialValue>(value.toString()));
    return raiseSpecial(make<StringSpecialValue>(value.toString(), make<ErrorOrigin>(place)));
}

// A cell being computed (a cycle), an error, a special value (the reader
// gets its text, never a range object itself). OnStack, Warning and
// StringSpecialValue are final: one look at the class tells them (this
// runs for every cell that holds or meets an error). A cell holding the
// shared "(circular)" is a loop of its own and names itself to its reader;
// outside every cell (depth 0) there is no reader to name it to.
Pointer<Object> Evaluator::raiseIfError(AbstractEvaluatable& evaluatable, Object* value) {
    if (value == m_circular.object())
        return raiseSpecial(m_circular, m_depth > 0 ? evaluatable.place() : CellPlace{});
    TypeId kind = value->classTypeId();
    if (kind == OnStack::typeId()) return closeCycle(evaluatable);
    if (kind == Warning::typeId()) {
        if (static_cast<const Warning*>(value)->origin().isNull())
            return raiseOrigin(evaluatable, value);
        return raiseWarning(Pointer<Object>(value));
    }
    if (value->isInstanceOf(SpecialValue::typeId())) {
        // A cycle, a stop or a special value already read from a cell is
        // passed on as it is, so that every cell after it points at the
        // same loop or place.
        if (kind == StringSpecialValue::typeId() &&
            !static_cast<const StringSpecialValue*>(value)->cause().isNull()) {
            return raiseSpecial(Pointer<Object>(value));
        }
        return raiseSpecialRead(evaluatable, *value);
    }
    return Pointer<Object>(value);
}

// Handles what an alternative raised: the cell's value when the search
// ends here, the null object (with `next` set) to go on with the next one.
Pointer<Object> Evaluator::settleRaised(const AbstractEvaluatable& evaluatable, bool last,
                                        bool& next) {
    RaisedKind kind = m_raisedKind;
    CellPlace place = m_raisedPlace;
    Pointer<Object> raised = takeRaised();
    if (kind == RaisedKind::Warning) {
        if (last) return dependsOn(raised, place);
    } else if (last || !raised->equals(*m_circular)) {
        // A cell that has just met itself settles its own cycle, nothing
        // raised in between.
        if (raised == m_circular) {
            bool self = m_selfReading != nullptr && m_selfReading == m_innermost;
            return self ? raised : circularFor(evaluatable, place);
        }
        return raised;
    }
    next = true;
    return {};
}

// The alternatives after the one being tried are pending; those never
// tried are no longer pending once one ends the search (`left` of them).
Pointer<Object> Evaluator::evaluateAlternatives(AbstractEvaluatable& evaluatable) {
    std::int32_t count = evaluatable.alternativesOf();
    m_pendingAlternatives += count - 1;
    for (std::int32_t i = 0; i < count; ++i) {
        bool last = i == count - 1;
        std::int32_t left = count - 1 - i;
        if (i > 0) --m_pendingAlternatives;
        evaluatable.setCachedValue(OnStack::instance());
        Pointer<Object> result;
        try {
            result = evaluatable.computeAlternative(*this, i);
        } catch (const StringPointer& message) {
            // A cell stopped halfway says so as one stopped before it began,
            // so that its readers do too.
            if (stopRequested() && message->equals(kStoppedText)) {
                m_pendingAlternatives -= left;
                return refusal(evaluatable);
            }
            if (last) return make<Warning>(message);
            continue;
        } catch (const std::bad_alloc&) {
            // A computation that exhausts memory shows it in its cell.
            if (last) return newWarning("out of memory");
            continue;
        } catch (const std::exception& error) {
            // NEVER: the library's own failures other than memory; shown, not fatal.
            if (last) return newWarning(error.what());
            continue;
        }
        if (isRaised(result)) {
            bool next = false;
            result = settleRaised(evaluatable, last, next);
            if (next) continue;
            m_pendingAlternatives -= left;
            return result;
        }
        if (!last) {
            if (!result.isNull() && is<Warning>(result)) continue;
            m_pendingAlternatives -= left;
        }
        return result;
    }
    return Pointer<Object>();
}

}  // namespace qv
