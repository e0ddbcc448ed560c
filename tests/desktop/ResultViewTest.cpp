// The result view: the inner view each kind of value gets, the text of
// values that are neither tables, rows, the list of tables nor plots, and
// the refresh rule (a new inner view when the kind changes, the same one
// when it does not, the selection moving to a new one).
#include <gtest/gtest.h>

#include <string>

#include "language/StringStream.h"
#include "model/ModelEditor.h"
#include "tests/desktop/PanelTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"
#include "views/ChartEditable.h"
#include "views/ErrorEditable.h"
#include "views/EvalSingleModel.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using Kind = ResultEditable::ValueKind;

constexpr std::string_view kProgram =
    "table S{ x:=range 1 to 3! y:=x*x! p:=plot(x, y); }\n"
    "table C{ k:=range 1 to 2! t:=S[base].p! all:=collect(t); }\n"
    "table [My table]{ v:=7! }\n";

// What the inner view shows, as one line: a grid's caption (with the
// record of a heading grid), the curves of a chart, the text of a value.
std::string shown(const ResultEditable& view) {
    const Pointer<AbstractEditable>& inner = view.innerView();
    if (auto grid = cast<TableEditable>(inner); !grid.isNull()) {
        // Every cell reads, whatever the record.
        for (std::int32_t row = 0; row < grid->model()->rowCount(); ++row) {
            for (std::int32_t column = 0; column < grid->model()->columnCount(); ++column)
                grid->model()->createCell(column, row)->text();
        }
        // The caption a user reads on the frame, and the record a heading shows.
        std::string line = "grid " + grid->model()->title()->toStdString();
        if (auto single = cast<EvalSingleModel>(grid->model()); !single.isNull())
            line += ", record " + std::to_string(single->record());
        return line;
    }
    if (auto chart = cast<ChartEditable>(inner); !chart.isNull())
        return "chart of " + std::to_string(chart->model()->trajectories().size());
    if (auto text = cast<ErrorEditable>(inner); !text.isNull()) return "text " + text->text();
    return "nothing";
}

TEST(ResultView, EachKindOfValueGetsItsInnerView) {
    struct Case {
        const char* expression;
        Kind kind;
        const char* shown;
    };
    const Case cases[] = {
        {"S", Kind::Table, "grid S - detailed view"},
        {"[My table]", Kind::Table, "grid My table - detailed view"},
        // Index 0 reaches nothing in a formula; the view reads it as the
        // heading of the table, as the table-opening dialog writes it.
        {"S[0]", Kind::Row, "grid S - heading view, record 0"},
        {" [My table][0] ", Kind::Row, "grid My table - heading view, record 0"},
        {"S[2]", Kind::Row, "grid S - heading view, record 2"},
        {"S[base]", Kind::Row, "grid S - heading view, record 0"},
        {"tables", Kind::Tables, "grid Tables"},
        {"S[1].p", Kind::Chart, "chart of 1"},
        {"C[base].all", Kind::Chart, "chart of 2"},
        {"C[1].t", Kind::Chart, "chart of 1"},
        {"1+2", Kind::Text, "text 3"},
        {"S[2].y", Kind::Text, "text 4"},
        {"(1", Kind::Text, "text bad expression"},
        {"nosuch", Kind::Text, "text undefined: nosuch"},
        {"nosuch[0]", Kind::Text, "text undefined: nosuch"},
        {"S.x[0]", Kind::Text, "text "},
        // A row past the last one is still a row: its cells show nothing.
        {"S[7]", Kind::Row, "grid S - heading view, record 7"},
    };
    Pointer<Kernel> kernel = test::loadModel(kProgram);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        auto view = make<ResultEditable>(kernel, str(c.expression), make<GlobalSettings>());
        EXPECT_EQ(shown(*view), "nothing");
        view->refresh();
        EXPECT_EQ(view->shownKind(), c.kind);
        EXPECT_EQ(shown(*view), c.shown);
        EXPECT_EQ(view->getTitle()->toStdString(), c.expression);
        EXPECT_EQ(view->toSource()->toStdString(), "result(" + std::string(c.expression) + ");\n");
    }
}

TEST(ResultView, ANewInnerViewOnlyWhenTheKindChanges) {
    Pointer<Kernel> kernel = test::loadModel(kProgram);
    auto settings = make<GlobalSettings>();
    auto number = make<ResultEditable>(kernel, str("S[2].y"), settings);
    auto later = make<ResultEditable>(kernel, str("X"), settings);
    auto table = make<ResultEditable>(kernel, str("S"), settings);
    auto row = make<ResultEditable>(kernel, str("S[2]"), settings);
    for (const auto& view : {number, later, table, row})
        view->refresh();
    Pointer<AbstractEditable> numberView = number->innerView();
    Pointer<AbstractEditable> tableView = table->innerView();
    Pointer<AbstractEditable> rowView = row->innerView();
    EXPECT_EQ(shown(*later), "text undefined: X");

    // A formula changed: same kind, same inner view, new text.
    make<ModelEditor>(kernel->program(), nullptr)
        ->setCellFormula(*kernel->getTableByName("S"), 1, 0, str("x*10"));
    for (const auto& view : {number, table, row})
        view->refresh();
    EXPECT_EQ(number->innerView(), numberView);
    EXPECT_EQ(shown(*number), "text 20");
    // The grids take the new results of their tables.
    EXPECT_EQ(table->innerView(), tableView);
    EXPECT_EQ(row->innerView(), rowView);
    auto heading = cast<EvalSingleModel>(cast<TableEditable>(rowView)->model());
    EXPECT_EQ(heading->table(), kernel->getTableByName("S"));
    EXPECT_EQ(heading->record(), 2);

    // The name now resolves to a table: the kind changed.
    test::addTables(*kernel, "table X{ z:=1! }");
    later->refresh();
    EXPECT_EQ(shown(*later), "grid X - detailed view");
    number->refresh();
    EXPECT_EQ(number->innerView(), numberView);
}

TEST(ResultView, ASelectedInnerViewHandsTheSelectionToItsSuccessor) {
    test::PanelFixture f;
    f.startOn("result.qvl", "table S{ x:=range 1 to 3! } optimized(10,10) result(T);");
    auto view = cast<ResultEditable>(f.frame(0)->view());
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(shown(*view), "text undefined: T");
    f.panel->support().select(view->innerView());

    test::addTables(*f.panel->kernel(), "table T{ a:=1! }");
    f.panel->refreshViews();
    EXPECT_EQ(shown(*view), "grid T - detailed view");
    EXPECT_EQ(f.panel->support().selected(), view->innerView());
}

}  // namespace
}  // namespace qv
