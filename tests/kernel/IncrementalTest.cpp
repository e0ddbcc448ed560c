// Computing again only what an edit made stale: which edits do so and which
// compute everything, and the property that matters, that after any
// sequence of edits every cell equals a fresh computation of the written
// program.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/kernel/ProgramCorpus.h"

namespace qv {
namespace {

using test::allValues;
using test::loadModel;

// The values of the edited kernel, and those of a kernel that reads the
// program as written and computes it afresh.
void expectFreshValues(Kernel& kernel, const std::string& context) {
    std::vector<std::string> values = allValues(kernel);
    std::string text = kernel.toSource()->toStdString();
    ASSERT_EQ(values, allValues(*loadModel(text))) << context << "\n" << text;
}

std::int32_t fieldOf(Kernel& kernel, const char* table, const char* field) {
    return kernel.getTableByName(table)->resolved()->fieldIndexOf(field);
}

struct EditRow {
    const char* name;
    const char* program;
    std::function<void(ModelEditor&, Kernel&)> edit;
    // Fields computed again, or -1 for a full computation.
    std::int64_t staleFields;
};

void setCell(ModelEditor& editor, Kernel& kernel, const char* table, const char* field,
             std::int32_t row, const char* text) {
    editor.setCellText(*kernel.getTableByName(table), fieldOf(kernel, table, field), row,
                       str(text));
}

const char* const kArithmetic =
    "table T{\n x:=range 1 to 20!\n a:=x*2!\n b:=a+x!\n c:=b*b!\n lone:=x+1!\n}\n";
const char* const kRunning =
    "table T{\n x:=range 1 to 20!\n s:=if row=1 then x else prev+x!\n t:=s*2!\n}\n";
const char* const kAggregate =
    "table T{\n x:=range 1 to 20!\n a:=x*2!\n share:=a/sum(a)!\n other:=x-1!\n}\n";
const char* const kTwoTables =
    "table A{\n x:=range 1 to 5!\n a:=x*3!\n}\n"
    "table B{\n y:=range 1 to 4!\n total:=A.a+y!\n own:=y*2!\n}\n";
const char* const kInheritance =
    "table Base{\n n:=range 1 to 6!\n f1:=n*2!\n f2:=f1+n!\n}\n"
    "table D extends Base{\n f1:=n*5!\n}\n"
    "table E extends Base{\n g:=f2+1!\n}\n";
const char* const kRowOverrides =
    "table T{\n x:=range 1 to 8!\n a:=x*2!\n b:=a+1!\n <3>:={ a:=100,}\n}\n";
const char* const kWhatIf =
    "table M{\n rate:=0.05;\n v:=100*(1+rate)!\n}\n"
    "table S{\n r:=range 1 to 3!\n total:=M(rate := r).v!\n k:=r*2!\n}\n";

const EditRow kEditRows[] = {
    {"cell override read in its row only", kArithmetic,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "a", 5, "7"); }, 3},
    {"cell of a field nothing reads", kArithmetic,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "lone", 9, "1"); }, 1},
    {"formula row of a field", kArithmetic,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "b", 0, "=a-x"); }, 2},
    {"cell of a running total", kRunning,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "s", 4, "1000"); }, 2},
    {"cell read by an aggregate", kAggregate,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "a", 2, "0"); }, 2},
    {"base field read by another table", kTwoTables,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "A", "a", 2, "50"); }, 2},
    {"field of a table another one reads, no reader of it", kTwoTables,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "B", "own", 1, "5"); }, 2},
    {"base formula inherited by derived tables", kInheritance,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "Base", "f2", 0, "=f1-n"); }, 4},
    {"override in a derived table", kInheritance,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "D", "f1", 0, "=n*7"); }, 2},
    {"cell of a derived table", kInheritance,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "E", "g", 2, "0"); }, 1},
    {"row override replaced", kRowOverrides,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "a", 3, "5"); }, 2},
    {"row override removed", kRowOverrides,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "a", 3, ""); }, 2},
    {"what-if call computed again whatever changed", kWhatIf,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "S", "k", 1, "9"); }, 2},
    {"what-if model edited", kWhatIf,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "M", "v", 0, "=200*(1+rate)"); }, 2},
    // Falls back to the full computation.
    {"range bound", kArithmetic,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "x", 0, "=range 1 to 25"); }, -1},
    {"row added past the generated rows", kArithmetic,
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "a", 30, "1"); }, -1},
    {"row inserted above an override", kRowOverrides,
     [](ModelEditor& e, Kernel& k) { e.insertRow(*k.getTableByName("T"), 2); }, 2},
    {"second override of a field", kArithmetic,
     [](ModelEditor& e, Kernel& k) {
         setCell(e, k, "T", "a", 5, "7");
         allValues(k);
         setCell(e, k, "T", "a", 6, "1");
     },
     3},
    {"field renamed", kArithmetic,
     [](ModelEditor& e, Kernel& k) {
         e.setFieldName(*k.getTableByName("T"), fieldOf(k, "T", "lone"), str("single"));
     },
     -1},
    {"field added", kArithmetic,
     [](ModelEditor& e, Kernel& k) {
         setCell(e, k, "T", "lone", 0, "=x");
         e.insertField(*k.getTableByName("T"), -1);
     },
     -1},
    {"table renamed", kTwoTables, [](ModelEditor& e, Kernel&) { e.setTableName(0, str("C")); }, -1},
    {"row names", "table T{\n t~name:=range 1 to 3!\n a:=2!\n}\n",
     [](ModelEditor& e, Kernel& k) { setCell(e, k, "T", "a", 1, "4"); }, -1},
};

class Incremental : public ::testing::TestWithParam<EditRow> {};

TEST_P(Incremental, ComputesTheStaleFieldsAndEqualsAFreshComputation) {
    const EditRow& row = GetParam();
    Pointer<Kernel> kernel = loadModel(row.program);
    allValues(*kernel);
    auto editor = make<ModelEditor>(kernel->program(), nullptr);
    row.edit(*editor, *kernel);
    expectFreshValues(*kernel, row.name);
    EXPECT_EQ(kernel->lastStaleFieldCount(), row.staleFields) << row.name;
}

INSTANTIATE_TEST_SUITE_P(Kernel, Incremental, ::testing::ValuesIn(kEditRows), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.name))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

// --- The property: random programs, random edits. ---

class RandomEdits {
  public:
    RandomEdits(Kernel& kernel, std::mt19937& random)
        : m_kernel(kernel),
          m_random(random),
          m_editor(make<ModelEditor>(kernel.program(), nullptr)) {}

    // One edit of a random kind; a refused edit (its message) changes nothing.
    std::string next() {
        std::int32_t tables = m_kernel.getTableCount();
        if (tables == 0) return "no table";
        std::int32_t t = pick(tables);
        Pointer<TableResult> table = m_kernel.getTable(t);
        if (table.isNull()) return "null table";
        std::int32_t fields = std::max<std::int32_t>(table->fieldCount(), 1);
        std::int32_t field = pick(fields);
        std::int32_t row = pick(table->rowCount() + 2) - 1;
        std::string what;
        try {
            switch (pick(20)) {
                case 0:
                    m_editor->insertRow(*table, std::max(row, 1));
                    return "insert row";
                case 1:
                    m_editor->deleteRow(*table, std::max(row, 1));
                    return "delete row";
                case 2:
                    m_editor->setFieldName(*table, field, str("f" + std::to_string(pick(4))));
                    return "rename";
                case 3:
                    m_editor->setVisible(*table, field, pick(2) == 0);
                    return "visibility";
                case 4:
                    // A pasted block: several cells before the next computation.
                    for (int i = 0; i < 3; ++i) {
                        what = formula(*table);
                        m_editor->setCellText(*table, pick(fields), 1 + pick(table->rowCount()),
                                              str(what));
                    }
                    return "block";
                case 5:
                    what = formula(*table);
                    m_editor->setCellText(*table, field, 0, str(what));
                    return "formula row " + what;
                default:
                    what = formula(*table);
                    m_editor->setCellText(*table, field, row, str(what));
                    return "cell " + std::to_string(row) + " " + what;
            }
        } catch (const StringPointer& message) {
            return "refused: " + message->toStdString();
        }
    }

  private:
    std::int32_t pick(std::int32_t count) {
        return std::uniform_int_distribution<std::int32_t>(0, count - 1)(m_random);
    }

    std::string name(TableResult& table) {
        std::string field = table.fieldName(pick(std::max(table.fieldCount(), 1)))->toStdString();
        return isPlainName(field) ? field : "nosuch";
    }

    std::string formula(TableResult& table) {
        std::string a = name(table);
        std::string b = name(table);
        std::string other = m_kernel.getTable(pick(m_kernel.getTableCount())).isNull()
                                ? "T"
                                : m_kernel.getTable(0)->name()->toStdString();
        switch (pick(14)) {
            case 0:
                return std::to_string(pick(100));
            case 1:
                return "=" + a + "+1";
            case 2:
                return "=" + a + "*" + b;
            case 3:
                return "=if " + a + ">3 then " + b + " else 2";
            case 4:
                return "=if row=1 then 1 else prev+" + a;
            case 5:
                return "=sum(" + a + ")";
            case 6:
                return "=" + a + "/avg(" + b + ")";
            case 7:
                return "=" + other + "." + a;
            case 8:
                return "=" + a + "[2]";
            case 9:
                return "=" + a;
            case 10:
                return "word";
            case 11:
                return "";
            case 12:
                return "=next+" + b;
            default:
                return "=abs(" + a + "-" + b + ")";
        }
    }

    Kernel& m_kernel;
    std::mt19937& m_random;
    Pointer<ModelEditor> m_editor;
};

TEST(IncrementalProperty, EveryCellEqualsAFreshComputationAfterRandomEdits) {
    std::mt19937 random(21);
    std::int64_t partial = 0;
    std::int64_t computations = 0;
    std::int64_t programs = 0;
    for (const auto& [name, text] : test::corpusPrograms()) {
        Pointer<Kernel> kernel;
        try {
            kernel = loadModel(text);
            allValues(*kernel);
        } catch (...) {
            continue;  // a fuzzer's document that does not read
        }
        ++programs;
        RandomEdits edits(*kernel, random);
        std::string history;
        for (int step = 0; step < 12; ++step) {
            try {
                history += edits.next() + "\n";
                expectFreshValues(*kernel, name + " after\n" + history);
            } catch (const StringPointer& message) {
                FAIL() << message->toStdString() << " in " << name << " after\n" << history;
            } catch (...) {
                FAIL() << "exception in " << name << " after\n" << history;
            }
            if (::testing::Test::HasFatalFailure()) return;
            ++computations;
            partial += kernel->lastStaleFieldCount() >= 0 ? 1 : 0;
        }
    }
    EXPECT_GT(programs, 20);
    // Most edits are computed in part; the rest fall back.
    EXPECT_GT(partial, computations / 3) << partial << " of " << computations;
}

}  // namespace
}  // namespace qv
