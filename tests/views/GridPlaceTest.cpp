// Where a detailed view shows a cell of the results, and which cell its
// selected position shows: the two agree under sorting, hidden fields,
// formula lines and the summary record, and positions that show no cell
// answer none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ModelEditor.h"
#include "tests/views/ViewTestSupport.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using test::loadModel;

struct ViewSetup {
    const char* what;
    std::int32_t sortField;  // -1 for none
    bool descending;
    bool showFormulas;
};

// Every position's cell, then the position of that cell: a round trip.
TEST(GridPlace, EveryValueAndFormulaPositionRoundTripsThroughItsCell) {
    const ViewSetup setups[] = {
        {"plain", -1, false, false},        {"descending", -1, true, false},
        {"sorted by v", 1, false, false},   {"sorted by v, descending", 1, true, true},
        {"formula lines", -1, false, true},
    };
    for (const ViewSetup& setup : setups) {
        SCOPED_TRACE(setup.what);
        Pointer<Kernel> kernel =
            loadModel("table T{ k:=range 1 to 3! v:=4 - k! hidden:=k*10; w:=v+1! }");
        Pointer<TableResult> table = kernel->getTableByName("T");
        make<ModelEditor>(kernel->program(), nullptr)
            ->setSort(*table, setup.sortField, setup.descending);
        auto settings = make<GlobalSettings>();
        settings->showFormula = setup.showFormulas;
        auto model = make<EvalMultiModel>(kernel->getTableByName("T"), settings, true);
        auto grid = make<TableEditable>(model);
        std::int32_t cells = 0;
        for (std::int32_t row = 0; row < model->rowCount(); ++row) {
            for (std::int32_t column = 0; column < model->columnCount(); ++column) {
                grid->selectCell(column, row);
                std::optional<CellPlace> place = grid->currentPlace();
                if (!place) continue;
                ++cells;
                EXPECT_EQ(place->table, 0);
                auto at = model->positionOf(*place);
                ASSERT_TRUE(at.has_value()) << column << "," << row;
                // A formula line's cell is found on its value line.
                grid->selectCell(at->first, at->second);
                EXPECT_EQ(grid->currentPlace(), place);
                EXPECT_EQ(at->first, column);
            }
        }
        // Three visible fields in the base record, three records and the
        // summary; with formula lines each of them twice.
        EXPECT_EQ(cells, (setup.showFormulas ? 2 : 1) * 3 * 5);
    }
}

TEST(GridPlace, CellsTheViewDoesNotShowHaveNoPosition) {
    Pointer<Kernel> kernel =
        loadModel("table T{ k:=range 1 to 3! hidden:=k*10; } table U{ a:=1! }");
    auto model = make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
    struct Case {
        const char* what;
        CellPlace place;
    };
    const Case cases[] = {
        {"another table", {1, 0, 1}},
        {"a hidden field", {0, 1, 1}},
        {"a record past the last", {0, 0, 9}},
        {"a field past the last", {0, 7, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(model->positionOf(c.place).has_value());
    }
    // Headers and the new-record column show no cell.
    auto grid = make<TableEditable>(model);
    grid->selectCell(0, 0);
    EXPECT_FALSE(grid->currentPlace().has_value());
    grid->selectCell(model->columnCount() - 2, 1);
    EXPECT_FALSE(grid->currentPlace().has_value());
}

// A heading view shows one record's values and the summary: those cells
// have a position, other records' do not.
TEST(GridPlace, AHeadingViewShowsItsRecordAndTheSummary) {
    Pointer<Kernel> kernel = loadModel("table T{ k:=range 1 to 3! v:=k*2! }");
    auto model = make<EvalSingleModel>(kernel->getTableByName("T"), make<GlobalSettings>());
    model->setRecord(2);
    model->setFlag(EvalSingleModel::ShowSummary, true);
    model->layout();
    auto grid = make<TableEditable>(model);
    struct Case {
        CellPlace place;
        bool shown;
    };
    const Case cases[] = {
        {{0, 1, 2}, true}, {{0, 0, -1}, true}, {{0, 1, 1}, false}, {{0, 5, 2}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.place.field) + "," + std::to_string(c.place.row));
        auto at = model->positionOf(c.place);
        ASSERT_EQ(at.has_value(), c.shown);
        if (!at) continue;
        grid->selectCell(at->first, at->second);
        EXPECT_EQ(grid->currentPlace(), c.place);
    }
}

}  // namespace
}  // namespace qv
