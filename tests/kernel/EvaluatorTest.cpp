// The evaluator: caching, circular references, the alternatives of "alt",
// how errors become values and spread, failures of the library, and chains
// of cells deeper than the evaluator or the stack allows.
#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/LargeStack.h"
#include "core/Number.h"
#include "kernel/ErrorOrigin.h"
#include "kernel/Evaluator.h"
#include "tests/kernel/ModelTestSupport.h"

#include "tests/Sanitizers.h"

namespace qv {
namespace {

using test::addTables;
using test::cell;
using test::loadModel;
using test::renderTable;
using test::typed;

// A cell of a hand-made sheet: its cache and its alternatives as functions
// of the evaluator, so each rule of the evaluator is tried on its own.
class TestCell final : public AbstractEvaluatable {
  public:
    using Formula = std::function<Pointer<Object>(Evaluator&)>;

    explicit TestCell(std::vector<Formula> alternatives = {})
        : alternatives(std::move(alternatives)) {}

    Pointer<Object> cachedValue() const override { return cache; }
    void setCachedValue(const Pointer<Object>& value) override { cache = value; }
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override {
        ++computed;
        return alternatives[static_cast<std::size_t>(index)](evaluator);
    }
    std::int32_t alternativesOf() override {
        return static_cast<std::int32_t>(alternatives.size());
    }

    std::vector<Formula> alternatives;
    Pointer<Object> cache;
    int computed = 0;
};

TestCell::Formula constant(const Pointer<Object>& value) {
    return [value](Evaluator&) { return value; };
}
TestCell::Formula number(double value) {
    return constant(make<Double>(value));
}
TestCell::Formula reads(TestCell& other) {
    return [&other](Evaluator& evaluator) { return evaluator.evaluate(other); };
}
TestCell::Formula raises(const char* message) {
    return [message](Evaluator&) -> Pointer<Object> { throw str(message); };
}

TEST(Evaluator, ACellIsComputedOnceAndCached) {
    TestCell a({number(4)});
    TestCell b({[&a](Evaluator& evaluator) {
        return make<Double>(toNumber(evaluator.evaluate(a)) + toNumber(evaluator.evaluate(a)));
    }});
    Evaluator evaluator;
    EXPECT_EQ(typed(evaluator.evaluateTop(b)), "Double:8");
    EXPECT_EQ(typed(evaluator.evaluateTop(b)), "Double:8");
    EXPECT_EQ(a.computed, 1);
    EXPECT_EQ(b.computed, 1);
}

TEST(Evaluator, CyclesBecomeCircular) {
    Evaluator evaluator;
    TestCell self;
    self.alternatives = {reads(self)};
    EXPECT_EQ(typed(evaluator.evaluateTop(self)), "StringSpecialValue:(circular)");
    EXPECT_EQ(typed(self.cache), "StringSpecialValue:(circular)");

    TestCell a, b, reader;
    a.alternatives = {reads(b)};
    b.alternatives = {reads(a)};
    reader.alternatives = {reads(a)};
    EXPECT_EQ(typed(evaluator.evaluateTop(reader)), "StringSpecialValue:(circular)");
    EXPECT_EQ(typed(a.cache), "StringSpecialValue:(circular)");
    EXPECT_EQ(typed(b.cache), "StringSpecialValue:(circular)");
    EXPECT_EQ(typed(reader.cache), "StringSpecialValue:(circular)");
}

TEST(Evaluator, ErrorsSpreadAlongAChain) {
    Evaluator evaluator;
    TestCell first({raises("bad input")});
    TestCell second({reads(first)});
    TestCell third({reads(second)});
    EXPECT_EQ(typed(evaluator.evaluateTop(third)), "Warning:depends on cell that contain error");
    EXPECT_EQ(typed(first.cache), "Warning:bad input");
    EXPECT_EQ(typed(second.cache), "Warning:depends on cell that contain error");
    // Read again, the cached warnings come back unchanged.
    EXPECT_EQ(typed(evaluator.evaluateTop(first)), "Warning:bad input");
    EXPECT_EQ(first.computed, 1);
}

TEST(Evaluator, SpecialValuesReachReadersAsCopiesOfTheirText) {
    Evaluator evaluator;
    Pointer<Object> range = make<StringSpecialValue>(str("(range)"));
    TestCell source({constant(range)});
    TestCell reader({reads(source)});
    Pointer<Object> top = evaluator.evaluateTop(source);
    EXPECT_EQ(typed(top), "StringSpecialValue:(range)");
    EXPECT_NE(top.get(), range.get());
    EXPECT_EQ(source.cache.get(), range.get());
    EXPECT_EQ(typed(evaluator.evaluateTop(reader)), "StringSpecialValue:(range)");
    EXPECT_NE(reader.cache.get(), range.get());
}

struct AlternativeCase {
    std::string what;
    std::vector<TestCell::Formula> alternatives;
    std::string expected;
};

TEST(Evaluator, AlternativesAreTriedInOrder) {
    TestCell failed({raises("no value")});
    TestCell range({constant(make<StringSpecialValue>(str("(range)")))});
    const std::vector<AlternativeCase> cases = {
        {"the first that works", {number(1), number(2)}, "Double:1"},
        {"past a raised message", {raises("first"), number(2)}, "Double:2"},
        {"every alternative raises: the last message",
         {raises("first"), raises("last")},
         "Warning:last"},
        {"past a warning value", {constant(make<Warning>(str("w"))), number(3)}, "Double:3"},
        {"past a cell holding an error", {reads(failed), number(4)}, "Double:4"},
        {"the last alternative's warning stays",
         {number(5), constant(make<Warning>(str("w")))},
         "Double:5"},
        {"a last warning value is taken",
         {raises("x"), constant(make<Warning>(str("w")))},
         "Warning:w"},
        {"a last cell in error",
         {raises("x"), reads(failed)},
         "Warning:depends on cell that contain error"},
        {"a special value other than circular ends the search",
         {reads(range), number(6)},
         "StringSpecialValue:(range)"},
    };
    for (const auto& c : cases) {
        TestCell alt(c.alternatives);
        Evaluator evaluator;
        EXPECT_EQ(typed(evaluator.evaluateTop(alt)), c.expected) << c.what;
    }
}

TEST(Evaluator, AnAlternativeYieldingNothingEndsTheSearch) {
    TestCell alt({constant(Pointer<Object>()), number(5)});
    Evaluator evaluator;
    EXPECT_EQ(typed(evaluator.evaluateTop(alt)), "null");
    EXPECT_TRUE(alt.cache.isNull());  // uncomputed: it is computed again when read
    EXPECT_EQ(alt.computed, 1);
    evaluator.evaluateTop(alt);
    EXPECT_EQ(alt.computed, 2);
}

TEST(Evaluator, AnAlternativePastACycleLeavesTheCycleUncomputed) {
    TestCell b, c;
    b.alternatives = {reads(c)};
    c.alternatives = {reads(b)};
    TestCell alt({reads(b), number(5)});
    Evaluator evaluator;
    EXPECT_EQ(typed(evaluator.evaluateTop(alt)), "Double:5");
    EXPECT_TRUE(b.cache.isNull());
    EXPECT_TRUE(c.cache.isNull());
    // Read without an alternative pending, the cycle is a cycle.
    EXPECT_EQ(typed(evaluator.evaluateTop(b)), "StringSpecialValue:(circular)");
    EXPECT_EQ(typed(c.cache), "StringSpecialValue:(circular)");

    // A cell whose alternative reads itself takes the next one.
    TestCell self;
    self.alternatives = {reads(self), number(7)};
    EXPECT_EQ(typed(evaluator.evaluateTop(self)), "Double:7");
    EXPECT_EQ(typed(self.cache), "Double:7");
}

// An alternative that works before the last leaves nothing pending: the
// cycles computed after it in the same evaluation are cycles, cached as
// such, and a cycle read after it settles in the cell that reads it.
TEST(Evaluator, AnAlternativeThatWorksLeavesNothingPending) {
    struct PendingCase {
        std::string what;
        std::vector<TestCell::Formula> alternatives;
    };
    TestCell failed({raises("no value")});
    const std::vector<PendingCase> cases = {
        {"the first of two", {number(1), number(2)}},
        {"the second of three", {raises("first"), number(2), number(3)}},
        {"past a cell in error", {reads(failed), number(2), number(3)}},
        {"nothing, before the last", {constant(Pointer<Object>()), number(2)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestCell alt(c.alternatives);
        TestCell self;
        self.alternatives = {reads(self)};
        TestCell b, loop;
        b.alternatives = {reads(loop)};
        loop.alternatives = {reads(b)};
        std::int32_t pendingAfter = -1;
        TestCell top({[&](Evaluator& evaluator) {
            evaluator.evaluate(alt);
            pendingAfter = evaluator.pendingAlternatives();
            Pointer<Object> first = evaluator.evaluate(self);
            if (isRaised(first)) evaluator.takeRaised();
            return evaluator.evaluate(b);
        }});
        Evaluator evaluator;
        EXPECT_EQ(typed(evaluator.evaluateTop(top)), "StringSpecialValue:(circular)");
        EXPECT_EQ(pendingAfter, 0);
        EXPECT_EQ(typed(self.cache), "StringSpecialValue:(circular)");
        EXPECT_EQ(typed(b.cache), "StringSpecialValue:(circular)");
        EXPECT_EQ(typed(loop.cache), "StringSpecialValue:(circular)");
        EXPECT_EQ(typed(top.cache), "StringSpecialValue:(circular)");
        EXPECT_EQ(self.computed, 1);
    }
}

TEST(Evaluator, LibraryFailuresBecomeValues) {
    const std::vector<std::pair<TestCell::Formula, std::string>> cases = {
        {[](Evaluator&) -> Pointer<Object> { throw std::bad_alloc(); }, "Warning:out of memory"},
        {[](Evaluator&) -> Pointer<Object> { throw std::runtime_error("library failure"); },
         "Warning:library failure"},
    };
    for (const auto& [formula, expected] : cases) {
        TestCell failing({formula});
        TestCell reader({reads(failing)});
        TestCell fallback({formula, number(1)});
        Evaluator evaluator;
        EXPECT_EQ(typed(evaluator.evaluateTop(reader)),
                  "Warning:depends on cell that contain error");
        EXPECT_EQ(typed(failing.cache), expected);
        EXPECT_EQ(typed(evaluator.evaluateTop(fallback)), "Double:1");
        EXPECT_EQ(evaluator.depth(), 0);
    }
}

TEST(Evaluator, ANestingLevelIsReleasedWhateverLeavesIt) {
    TestCell strange({[](Evaluator&) -> Pointer<Object> { throw 42; }});
    TestCell reader({reads(strange)});
    Evaluator evaluator;
    EXPECT_THROW(evaluator.evaluateTop(reader), int);
    EXPECT_EQ(evaluator.depth(), 0);
}

// A chain of cells each reading the next, built on the stack as the kernel
// builds its cells; the caches live in one vector, the link's index is its row.
class ChainLink final : public AbstractEvaluatable {
  public:
    ChainLink(std::vector<Pointer<Object>>& caches, std::size_t index)
        : m_caches(caches), m_index(index) {}
    Pointer<Object> cachedValue() const override { return m_caches[m_index]; }
    void setCachedValue(const Pointer<Object>& value) override { m_caches[m_index] = value; }
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t) override {
        if (m_index + 1 == m_caches.size()) return make<Double>(1);
        ChainLink next(m_caches, m_index + 1);
        Pointer<Object> value = evaluator.evaluate(next);
        if (isRaised(value)) return value;
        return make<Double>(toNumber(value) + 1);
    }
    CellPlace place() const override { return {0, 0, static_cast<std::int32_t>(m_index)}; }

  private:
    std::vector<Pointer<Object>>& m_caches;
    std::size_t m_index;
};

// The first link of the chain that holds "calculation nested too deeply",
// after checking that every link before it holds the warning it spreads.
std::size_t firstTooDeep(const std::vector<Pointer<Object>>& caches) {
    for (std::size_t i = 0; i < caches.size(); ++i) {
        std::string value = typed(caches[i]);
        if (value == "Warning:calculation nested too deeply") return i;
        if (value != "Warning:depends on cell that contain error") {
            ADD_FAILURE() << "link " << i << " holds " << value;
            return caches.size();
        }
    }
    return caches.size();
}

// Reads a chain of `length` links from its first with an evaluator of the
// given bound, on the kernel's computing stack; returns the first link's value.
Pointer<Object> readChain(std::vector<Pointer<Object>>& caches, std::int32_t bound) {
    Pointer<Object> top;
    runOnLargeStack([&] {
        Evaluator evaluator(bound);
        ChainLink first(caches, 0);
        top = evaluator.evaluateTop(first);
        EXPECT_EQ(evaluator.depth(), 0);
    });
    return top;
}

TEST(Evaluator, AChainDeeperThanTheBoundStopsWithAWarning) {
    std::vector<Pointer<Object>> caches(1010);
    EXPECT_EQ(typed(readChain(caches, 1000)), "Warning:depends on cell that contain error");
    std::size_t stopped = firstTooDeep(caches);
    EXPECT_EQ(stopped, 1000u);
    // The links past the stop are computed afresh when read.
    Evaluator evaluator(1000);
    ChainLink rest(caches, stopped + 1);
    EXPECT_EQ(typed(evaluator.evaluateTop(rest)), "Double:9");
}

// The link that went too deep holds the error itself; every link above
// points at it, all through one warning.
TEST(Evaluator, AChainTooDeepLeadsToTheLinkThatHeldIt) {
    std::vector<Pointer<Object>> caches(60);
    readChain(caches, 50);
    ASSERT_EQ(firstTooDeep(caches), 50u);
    EXPECT_TRUE(cast<Warning>(caches[50])->origin().isNull());
    for (std::size_t i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        auto origin = cast<ErrorOrigin>(cast<Warning>(caches[i])->origin());
        ASSERT_FALSE(origin.isNull());
        EXPECT_EQ(origin->place(), (CellPlace{0, 0, 50}));
        EXPECT_EQ(caches[i], caches[0]);
    }
}

// The full bound: the computing stack holds that many plain links. Errors
// travel back up the chain one level at a time, so this takes seconds; the
// sanitizer build, many times slower, relies on the test above and on the
// stack reserve below.
#if !defined(QV_TEST_SANITIZED)
TEST(Evaluator, AChainDeeperThanTheFullBoundStopsWithAWarning) {
    std::vector<Pointer<Object>> caches(static_cast<std::size_t>(Evaluator::kMaxDepth) + 10);
    EXPECT_EQ(typed(readChain(caches, Evaluator::kMaxDepth)),
              "Warning:depends on cell that contain error");
    EXPECT_EQ(firstTooDeep(caches), static_cast<std::size_t>(Evaluator::kMaxDepth));
}
#endif

// Runs work on a new thread with a stack of the given size.
void runWithStack(std::size_t bytes, const std::function<void()>& work) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    auto call = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, call, const_cast<std::function<void()>*>(&work)),
              0);
    pthread_attr_destroy(&attributes);
    pthread_join(thread, nullptr);
}

TEST(Evaluator, AChainLongerThanTheStackStopsWithAWarning) {
    // Far more links than 16 MB of stack can hold, far fewer than the bound.
    std::vector<Pointer<Object>> caches(1'000'000);
    Pointer<Object> top;
    runWithStack(std::size_t{16} << 20, [&] {
        Evaluator evaluator;
        ChainLink first(caches, 0);
        top = evaluator.evaluateTop(first);
    });
    EXPECT_EQ(typed(top), "Warning:depends on cell that contain error");
    std::size_t stopped = firstTooDeep(caches);
    EXPECT_GT(stopped, 1000u);
    EXPECT_LT(stopped, caches.size());
}

// Whole models.

TEST(EvaluatorModel, CircularReferences) {
    Pointer<Kernel> kernel = loadModel(
        "table T{ a:=a+1! b:=c*2! c:=b+1! d:=1! e:=b! f:=if row=3 then prev else next! <3>:={} }"
        "table A{ x:=B.y! } table B{ y:=A.x! }");
    EXPECT_EQ(renderTable(*kernel, "T"),
              (std::vector<std::string>{
                  "sum |  |  |  | 3 |  | ",
                  "base | (circular) | (circular) | (circular) | 1 | (circular) | (range)",
                  "1 | (circular) | (circular) | (circular) | 1 | (circular) | (circular)",
                  "2 | (circular) | (circular) | (circular) | 1 | (circular) | (circular)",
                  "3 | (circular) | (circular) | (circular) | 1 | (circular) | (circular)"}));
    EXPECT_EQ(cell(*kernel, "A", "x", 0), "(circular)");
    EXPECT_EQ(cell(*kernel, "B", "y", 0), "(circular)");
}

TEST(EvaluatorModel, ErrorsAndSpecialValuesSpread) {
    Pointer<Kernel> kernel =
        loadModel("table T{ x:=1! a:=(1).x! b:=a*2! c:=b+1! r:=range 1 to 3! s:=r! t:=s&\"!\"! }");
    EXPECT_EQ(
        renderTable(*kernel, "T"),
        (std::vector<std::string>{
            "sum | 3 |  |  |  | 6 | 6 | ",
            "base | 1 | result not supporting identifier access | depends on cell that "
            "contain error | depends on cell that contain error | (range) | (range) | (range)",
            "1 | 1 | result not supporting identifier access | depends on cell that contain "
            "error | depends on cell that contain error | 1 | 1 | 1!",
            "2 | 1 | result not supporting identifier access | depends on cell that contain "
            "error | depends on cell that contain error | 2 | 2 | 2!",
            "3 | 1 | result not supporting identifier access | depends on cell that contain "
            "error | depends on cell that contain error | 3 | 3 | 3!"}));
}

struct AltModelCase {
    std::string what;
    std::string program;  // the cell read is T.a in the formula row
    std::string expected;
};

TEST(EvaluatorModel, AlternativesInFormulas) {
    const std::vector<AltModelCase> cases = {
        {"past a cycle", "table T{ a:=b alt 5! b:=c! c:=b! }", "5"},
        {"past its own cell", "table T{ a:=a alt 5! }", "5"},
        {"past a raised message", "table T{ x:=1! a:=(1).x alt 6! }", "6"},
        {"past a cell in error", "table T{ x:=1! w:=(1).x! a:=w alt 7! }", "7"},
        {"past a warning value", "table T{ v:=1! a:=find(v=99) alt 8! }", "8"},
        {"all fail: the last message", "table T{ x:=1! a:=(1).x alt (2)[1]! }",
         "result does not support index"},
        {"a range ends the search", "table T{ r:=range 1 to 2! a:=r alt 9! }", "(range)"},
        {"unresolved names in any alternative", "table T{ a:=1 alt nothing! }",
         "undefined: nothing"},
        {"the first working alternative wins", "table T{ a:=3 alt 4! }", "3"},
    };
    for (const auto& c : cases) {
        Pointer<Kernel> kernel = loadModel(c.program);
        EXPECT_EQ(cell(*kernel, "T", "a", 0), c.expected) << c.what;
    }
    // The cycle passed by the alternative is still a cycle when read itself,
    // and a cell reading back into the alternative sees its value.
    Pointer<Kernel> kernel =
        loadModel("table T{ a:=b alt 5! b:=c! c:=b! } table U{ a:=b alt 5! b:=a! }");
    EXPECT_EQ(renderTable(*kernel, "T"),
              (std::vector<std::string>{"sum |  |  | ", "base | 5 | (circular) | (circular)"}));
    EXPECT_EQ(renderTable(*kernel, "U"), (std::vector<std::string>{"sum |  | ", "base | 5 | 5"}));
    // An alternative yielding nothing leaves nothing in the cell.
    Pointer<Kernel> empty = loadModel("table T{ a:=? alt 5! }");
    EXPECT_EQ(typed(empty->getTableByName("T")->value(0, 0)), "null");
}

// A library function that fails the way C++ code can fail: a standard
// exception, exhausted memory, or something foreign to the evaluator.
class FailingFunction final : public Function {
    QV_OBJECT(FailingFunction, Function, "FailingFunction")
  public:
    enum class Failure { Exception, OutOfMemory, Foreign };
    FailingFunction(const char* name, Failure failure) : m_name(name), m_failure(failure) {}
    const char* name() const override { return m_name; }
    std::int32_t arity() const override { return 0; }
    Pointer<Object> evaluate(std::int32_t, std::int32_t, Arguments) const override {
        if (m_failure == Failure::OutOfMemory) throw std::bad_alloc();
        if (m_failure == Failure::Foreign) throw 42;
        throw std::runtime_error("library failure");
    }

  private:
    const char* m_name;
    Failure m_failure;
};

TEST(EvaluatorModel, LibraryFailuresBecomeCellValues) {
    auto kernel = make<Kernel>();
    kernel->functions()->addFunction(
        make<FailingFunction>("boom", FailingFunction::Failure::Exception));
    kernel->functions()->addFunction(
        make<FailingFunction>("nomem", FailingFunction::Failure::OutOfMemory));
    addTables(*kernel, "table T{ a:=boom()! b:=a+1! c:=nomem()! d:=boom() alt 3! e:=c&\"\"! }");
    EXPECT_EQ(
        renderTable(*kernel, "T"),
        (std::vector<std::string>{
            "sum |  |  |  |  | ",
            "base | library failure | depends on cell that contain error | out of memory | 3 | "
            "depends on cell that contain error"}));
}

// A computation that fails as a whole reaches the caller, ends the
// feedback's bracket, and is not kept as if it were complete.
TEST(Kernel, AComputationThatFailsIsNotKept) {
    auto feedback = make<test::CountingFeedback>();
    auto kernel = make<Kernel>(feedback);
    kernel->functions()->addFunction(
        make<FailingFunction>("foreign", FailingFunction::Failure::Foreign));
    auto stream = make<StringStream>(str("table T{ a:=1! b:=foreign()! }"));
    EXPECT_THROW(kernel->addTableFromText(stream), int);
    EXPECT_EQ(feedback->started, 1);
    EXPECT_EQ(feedback->finished, 1);
    EXPECT_THROW(kernel->getTableByName("T"), int);
    EXPECT_EQ(feedback->started, 2);
    EXPECT_EQ(feedback->finished, 2);
}

// Each cell reads the next: the chain is as long as the table.
TEST(EvaluatorModel, AMillionCellChain) {
    auto started = std::chrono::steady_clock::now();
    Pointer<Kernel> kernel =
        loadModel("table T{ x:=range 1 to 1000000! y:=if row=1000000 then 1 else next+1! }");
    EXPECT_EQ(cell(*kernel, "T", "y", 1), "1e+6");
    EXPECT_EQ(cell(*kernel, "T", "y", 999999), "2");
    EXPECT_EQ(cell(*kernel, "T", "y", 1000000), "1");
    EXPECT_EQ(cell(*kernel, "T", "y", -1), "500.0005e+9");
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
#if !defined(QV_TEST_SANITIZED) && defined(NDEBUG)
    // A few seconds in an optimised build; far more means a cost per link
    // that grows with the chain.
    EXPECT_LT(seconds, 30.0);
#else
    (void)seconds;
#endif
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Has enough when the chosen cell is read; every other cell is computed as
// the reader's.
class EnoughAt final : public ReadRecorder {
  public:
    explicit EnoughAt(const AbstractEvaluatable& last) : m_last(last) {}
    Note noteRead(AbstractEvaluatable& evaluatable) override {
        return &evaluatable == &m_last ? Note::Enough : Note::Reader;
    }

  private:
    const AbstractEvaluatable& m_last;
};

// A recorder that has enough abandons the computation: the cells it was
// in the middle of are not computed, the cells it finished keep their
// values, and the state taken before puts the evaluator back.
TEST(Evaluator, AComputationAbandonedLeavesNoTrace) {
    TestCell x({number(2)});
    TestCell y({number(3)});
    TestCell mid({[&](Evaluator& evaluator) {
                      Pointer<Object> a = evaluator.evaluate(x);
                      Pointer<Object> b = evaluator.evaluate(y);
                      return make<Double>(toNumber(a) + toNumber(b));
                  },
                  number(0)});
    TestCell top({reads(mid)});
    Evaluator evaluator;
    Evaluator::State before = evaluator.state();
    EnoughAt recorder(y);
    evaluator.setRecorder(&recorder);
    EXPECT_THROW(evaluator.evaluate(top), ReadsEnough);
    evaluator.setRecorder(nullptr);
    EXPECT_EQ(evaluator.depth(), 0);
    // The first of two alternatives was left halfway.
    EXPECT_EQ(evaluator.pendingAlternatives(), 1);
    evaluator.restore(before);
    EXPECT_EQ(evaluator.pendingAlternatives(), 0);
    EXPECT_EQ(evaluator.raisedKind(), Evaluator::RaisedKind::None);
    EXPECT_EQ(typed(x.cache), "Double:2");
    EXPECT_TRUE(y.cache.isNull());
    EXPECT_TRUE(mid.cache.isNull());
    EXPECT_TRUE(top.cache.isNull());
    // Computed afresh as if nothing had happened: no cycle is seen.
    EXPECT_EQ(typed(evaluator.evaluateTop(top)), "Double:5");
    EXPECT_EQ(x.computed, 1);
}

}  // namespace
}  // namespace qv
