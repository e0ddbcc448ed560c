// Numbers kept unboxed in the cells, and the path that computes arithmetic
// on them without the evaluator's round: the slots give back exactly what
// was stored, and every program computes to the same values, bit for bit,
// with the path and without it.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#include "core/Warning.h"
#include "functions/RandomGenerator.h"
#include "kernel/CellValues.h"
#include "kernel/Evaluator.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/kernel/ProgramCorpus.h"

namespace qv {
namespace {

std::uint64_t bitsOf(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

TEST(CellValuesTest, NumbersComeBackBitForBit) {
    const double values[] = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        1e300,
        -1e-300,
        std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
        // Negative NaNs with a large payload: their bits would collide with
        // object addresses, so they stay boxed.
        std::bit_cast<double>(std::uint64_t{0xFFFE000000000000}),
        std::bit_cast<double>(std::uint64_t{0xFFFFFFFFFFFFFFFF}),
    };
    for (double value : values) {
        SCOPED_TRACE(bitsOf(value));
        for (bool byNumber : {false, true}) {
            CellValues cells(2, 3);
            if (byNumber) {
                cells.setNumber(1, 2, value);
            } else {
                cells.set(1, 2, make<Double>(value));
            }
            Pointer<Object> read = cells.at(1, 2);
            ASSERT_TRUE(is<Double>(read));
            EXPECT_EQ(bitsOf(cast<Double>(read)->value()), bitsOf(value));
            EXPECT_FALSE(cells.isEmpty(1, 2));
            double number = 0;
            bool unboxed = bitsOf(value) < 0xFFFE000000000000;
            EXPECT_EQ(cells.numberAt(1, 2, number), unboxed);
            if (unboxed) {
                EXPECT_EQ(bitsOf(number), bitsOf(value));
            }
            EXPECT_EQ(cells.objectUnlessNumber(1, 2)->isNull(), unboxed);
        }
    }
}

TEST(CellValuesTest, ObjectsAreHeldOnceAndLetGo) {
    Pointer<Object> text = str("words");
    Pointer<Object> warning = make<Warning>(str("bad"));
    std::int32_t textCount = text->referenceCount();
    {
        CellValues cells(3, 4);
        cells.set(0, -1, text);
        cells.set(2, 3, warning);
        EXPECT_EQ(text->referenceCount(), textCount + 1);
        cells.copy(0, -1, 1);  // the same object in two cells
        EXPECT_EQ(text->referenceCount(), textCount + 2);
        EXPECT_EQ(cells.at(0, 1), text);
        cells.set(0, 1, make<Double>(4));  // a number replaces the object
        EXPECT_EQ(text->referenceCount(), textCount + 1);
        cells.copy(2, 0, 3);  // an empty cell copied over an object
        EXPECT_TRUE(cells.isEmpty(2, 3));
        EXPECT_EQ(warning->referenceCount(), 1);
        cells.set(2, 3, warning);
    }
    EXPECT_EQ(text->referenceCount(), textCount);
    EXPECT_EQ(warning->referenceCount(), 1);
}

TEST(CellValuesTest, GrowingKeepsEveryCellAndDrainLetsGoOfObjects) {
    CellValues cells(3, 2, str("outside"));
    for (std::int32_t column = 0; column < 3; ++column) {
        for (std::int32_t row = -1; row < 2; ++row)
            cells.setNumber(column, row, column * 10 + row);
    }
    cells.set(1, 0, str("text"));
    cells.growRows(5);
    EXPECT_EQ(cells.rows(), 5);
    for (std::int32_t column = 0; column < 3; ++column) {
        for (std::int32_t row = -1; row < 5; ++row) {
            SCOPED_TRACE(std::to_string(column) + "/" + std::to_string(row));
            if (column == 1 && row == 0) {
                EXPECT_EQ(toText(cells.at(column, row))->toStdString(), "text");
            } else if (row < 2) {
                EXPECT_EQ(cast<Double>(cells.at(column, row))->value(), column * 10 + row);
            } else {
                EXPECT_TRUE(cells.isEmpty(column, row));
            }
        }
    }
    // Outside the bounds: the default, and writes are ignored.
    EXPECT_EQ(toText(cells.at(3, 0))->toStdString(), "outside");
    EXPECT_EQ(toText(cells.at(0, 5))->toStdString(), "outside");
    cells.setNumber(0, 7, 1);
    cells.set(-1, 0, str("x"));
    EXPECT_EQ(toText(cells.at(0, 5))->toStdString(), "outside");

    int released = 0;
    cells.drain([&](const Object& value) {
        EXPECT_FALSE(value.isInstanceOf(Double::typeId()));
        ++released;
    });
    EXPECT_EQ(released, 1);
    EXPECT_TRUE(cells.isEmpty(1, 0));
    EXPECT_FALSE(cells.isEmpty(0, 0));  // numbers stay
}

// A column whose data rows repeat its formula row keeps one value, and a
// write to the column turns it into rows of their own with the same values
// as before, so that nothing but memory differs from spelling it out.
TEST(CellValuesTest, RepeatingColumnsReadAsSpelledOut) {
    // The column's rows after each step, rows -1 ... 4; "-" for empty.
    struct Step {
        const char* name;
        std::function<void(CellValues&)> edit;
        std::vector<std::string> rows;
    };
    Pointer<Object> text = str("t");
    const std::vector<Step> steps = {
        {"repeat",
         [](CellValues& c) { EXPECT_TRUE(c.repeatFormulaRow(0)); },
         {"-", "7", "7", "7", "7", "7"}},
        {"sum row written",
         [](CellValues& c) { c.setNumber(0, -1, 28); },
         {"28", "7", "7", "7", "7", "7"}},
        {"formula row written",
         [](CellValues& c) { c.setNumber(0, 0, 8); },
         {"28", "8", "7", "7", "7", "7"}},
        {"again refused",
         [](CellValues& c) { EXPECT_FALSE(c.repeatFormulaRow(0)); },
         {"28", "8", "7", "7", "7", "7"}},
        {"data row emptied",
         [](CellValues& c) { c.set(0, 2, Pointer<Object>()); },
         {"28", "8", "7", "-", "7", "7"}},
        {"cleared", [](CellValues& c) { c.clearColumn(0); }, {"-", "-", "-", "-", "-", "-"}},
        {"object repeated",
         [&](CellValues& c) {
             c.set(0, 0, text);
             EXPECT_TRUE(c.repeatFormulaRow(0));
         },
         {"-", "t", "t", "t", "t", "t"}},
        {"data row written",
         [](CellValues& c) { c.setNumber(0, 4, 1); },
         {"-", "t", "t", "t", "t", "1"}},
    };
    CellValues cells(2, 5);
    cells.setNumber(0, 0, 7);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.edit(cells);
        std::vector<std::string> rows;
        for (std::int32_t row = -1; row < 5; ++row)
            rows.push_back(cells.isEmpty(0, row) ? "-" : toText(cells.at(0, row))->toStdString());
        EXPECT_EQ(rows, step.rows);
    }
    EXPECT_EQ(text->referenceCount(), 1 + 4);  // ours, the formula row and rows 1 to 3

    // Growing spells out the repeated rows; the new rows are empty.
    CellValues grown(1, 3);
    grown.set(0, 0, text);
    ASSERT_TRUE(grown.repeatFormulaRow(0));
    grown.growRows(5);
    EXPECT_EQ(toText(grown.at(0, 2))->toStdString(), "t");
    EXPECT_TRUE(grown.isEmpty(0, 3));
    EXPECT_TRUE(grown.isEmpty(0, 4));
}

// Every cell as its class and exact text; numbers by their bits.
std::vector<std::string> exactValues(Kernel& kernel) {
    std::vector<std::string> values;
    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
        Pointer<TableResult> table = kernel.getTable(t);
        if (table.isNull()) continue;
        for (std::int32_t row = -1; row < table->rowCount(); ++row) {
            for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
                Pointer<Object> value = table->value(field, row);
                std::string text = std::to_string(t) + ":" + std::to_string(row) + ":" +
                                   std::to_string(field) + " " + test::typed(value);
                if (is<Double>(value))
                    text += " " + std::to_string(bitsOf(cast<Double>(value)->value()));
                values.push_back(text);
            }
        }
    }
    return values;
}

// The first cell that differs, so a failure names it.
void expectSameValues(const std::vector<std::string>& with,
                      const std::vector<std::string>& without) {
    ASSERT_EQ(with.size(), without.size());
    for (std::size_t i = 0; i < with.size(); ++i) {
        ASSERT_EQ(with[i], without[i]) << "the first cell that differs";
    }
}

class NumberShortcuts {
  public:
    explicit NumberShortcuts(bool on) { Evaluator::setNumberShortcuts(on); }
    ~NumberShortcuts() { Evaluator::setNumberShortcuts(true); }
};

// A document that does not read gives its message (the fuzzers' corpus
// holds some).
std::vector<std::string> valuesWith(bool shortcuts, const std::string& text) {
    NumberShortcuts scope(shortcuts);
    // The sorts draw their pivots from the shared generator: the same state
    // for both ways, so that equal values end in the same order and every
    // later draw is the same.
    seedRandom(1);
    try {
        auto kernel = test::loadModel(text);
        return exactValues(*kernel);
    } catch (const StringPointer& message) {
        return {"not read: " + message->toStdString()};
    }
}

// Arithmetic, comparisons, conditions and the place functions over every
// kind of operand: numbers, texts, booleans, empty cells, errors, cycles,
// overrides, and numbers whose bits are unusual.
const char* const kMixedOperands = R"(table Mixed{
    x:=range 1 to 8!
    t:=if x>4 then "w" else x!
    z:=x-x!
    n:=-z!
    inv:=1/z!
    nan:=z/z!
    a:=x*2+t!
    b:=t*3!
    c:=if t>2 then x else -x!
    d:=if a=b then prev+1 else next!
    e:=row*col+x/3!
    f:=if x<3 then inv else n-z!
    g:=g+1!
    h:=if x>=6 then warning("bad") else x<=2!
    i:=x+h!
    j:=(x>3)+1!
    k:=prev+k!
    <3>:={t:=7,c:="text"}
    <5>:={x:=-0.0,a:=1e308*10}
}
table Sorting{
    v:=range 1 to 9!
    w:=if v=3 then -0.0 else if v=4 then 0 else (v-5)*(v-5)!
    s:=sort(w)!
    t:=sort(if v=5 then "x" else w)!
    u:=sort(if v=2 then w/0*0 else w)!
    m:=max(w)!
    a:=avg(w)+sum(w)!
    g:=sort(mavg(2, w))!
}
table Second{
    p:=range 1 to 3!
    q:=p*Mixed[p].x!
    r:=q+sum(Mixed.a)!
}
//--end
)";

TEST(NumberPathTest, EqualsTheEvaluatorOnMixedOperands) {
    std::vector<std::string> with = valuesWith(true, kMixedOperands);
    ASSERT_FALSE(with.empty());
    expectSameValues(with, valuesWith(false, kMixedOperands));
}

TEST(NumberPathTest, EqualsTheEvaluatorOnEveryProgramOfTheCorpus) {
    std::vector<std::pair<std::string, std::string>> programs = test::corpusPrograms(true);
    ASSERT_GT(programs.size(), 20u);
    std::size_t cells = 0;
    for (const auto& [name, text] : programs) {
        SCOPED_TRACE(name);
        std::vector<std::string> with = valuesWith(true, text);
        expectSameValues(with, valuesWith(false, text));
        cells += with.size();
    }
    EXPECT_GT(cells, 1000u);
}

}  // namespace
}  // namespace qv
