// The detailed view: its layout under each flag and setting, the cells at
// each position, address texts, paste and copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/Number.h"
#include "tests/views/ViewTestSupport.h"
#include "views/EvalMultiModel.h"
#include "views/TableCells.h"

namespace qv {
namespace {

using test::loadModel;
using test::renderGrid;
using test::renderRoles;
using test::typed;

constexpr std::string_view kTwoFields = "table T{ a:=1! b:=a+1! <2>:={} }";

struct View {
    Pointer<Kernel> kernel;
    Pointer<GlobalSettings> settings;
    Pointer<EvalMultiModel> model;
};

View detailedView(std::string_view program, bool showBase = true) {
    View setup{loadModel(program), make<GlobalSettings>(), {}};
    setup.kernel->setOptionFlag(false);
    setup.model = make<EvalMultiModel>(setup.kernel->getTableByName("T"), setup.settings, showBase);
    return setup;
}

void setFlag(EvalMultiModel& model, EvalMultiModel::Flag flag, bool value) {
    model.viewProperties()->setProperty(flag, Boolean::of(value));
}

TEST(EvalMultiModel, LayoutUnderEachFlag) {
    struct Case {
        const char* what;
        std::function<void(View&)> change;
        std::vector<std::string> grid;
    };
    const std::vector<Case> cases = {
        {"defaults", [](View&) {}, {"T||1|2|*|", "a|1|1|1||2", "b|2|2|2||4", "|||||"}},
        {"no base record",
         [](View& s) {
             s.settings->zeroRow = false;
             s.model->layout();
         },
         {"T|1|2|*|", "a|1|1||2", "b|2|2||4", "||||"}},
        {"no summary",
         [](View& s) {
             s.settings->summaryRow = false;
             s.model->layout();
         },
         {"T||1|2|*", "a|1|1|1|", "b|2|2|2|", "||||"}},
        {"spreadsheet look numbers the fields",
         [](View& s) {
             s.settings->spreadsheetLook = true;
             s.model->layout();
         },
         {"|T||1|2|*|", "1|a|1|1|1||2", "2|b|2|2|2||4", "*||||||"}},
        {"formulas shown",
         [](View& s) {
             s.settings->showFormula = true;
             s.model->layout();
         },
         {"T|||1|2|*|", "a|Formula|1|1|1||2", "a|Value|1|1|1||2", "b|Formula|a+1|a+1|a+1||4",
          "b|Value|2|2|2||4", "|Formula|||||", "|Value|||||"}},
        {"no record numbers",
         [](View& s) { setFlag(*s.model, EvalMultiModel::ShowRowNum, false); },
         {"a|1|1|1||2", "b|2|2|2||4", "|||||"}},
        {"no extra field line",
         [](View& s) { setFlag(*s.model, EvalMultiModel::ShowExtraCol, false); },
         {"T||1|2|*|", "a|1|1|1||2", "b|2|2|2||4"}},
        {"no new record column",
         [](View& s) { setFlag(*s.model, EvalMultiModel::ShowExtraRow, false); },
         {"T||1|2|", "a|1|1|1|2", "b|2|2|2|4", "||||"}},
        {"no names",
         [](View& s) { setFlag(*s.model, EvalMultiModel::ShowColNames, false); },
         {"|1|2|*|", "1|1|1||2", "2|2|2||4", "||||"}},
        // With neither sub-row chosen the values still show.
        {"no result, no formula",
         [](View& s) { setFlag(*s.model, EvalMultiModel::ShowResult, false); },
         {"T||1|2|*|", "a|1|1|1||2", "b|2|2|2||4", "|||||"}},
    };
    for (const Case& c : cases) {
        View setup = detailedView(kTwoFields);
        c.change(setup);
        EXPECT_EQ(renderGrid(*setup.model), c.grid) << c.what;
    }
}

TEST(EvalMultiModel, SettingsRuleTheirFlagsAtEveryLayoutPass) {
    View setup = detailedView(kTwoFields);
    auto properties = setup.model->viewProperties();
    // Set on the view, then overruled by the settings at the next pass.
    properties->setProperty(EvalMultiModel::ShowSumRow, Boolean::of(false));
    EXPECT_EQ(setup.model->columnCount(), 6);
    setup.settings->showFormula = true;
    setup.model->layout();
    EXPECT_EQ(typed(properties->propertyValue(EvalMultiModel::ShowExpression)), "Boolean:true");
    EXPECT_EQ(setup.model->period(), 2);
}

TEST(EvalMultiModel, CellRolesByPosition) {
    View setup = detailedView(kTwoFields);
    setup.settings->showFormula = true;
    setup.settings->spreadsheetLook = true;
    setup.model->layout();
    EXPECT_EQ(renderRoles(*setup.model), (std::vector<std::string>{
                                             "read read read read read read read read",
                                             "read edit read edit edit edit edit read",
                                             "read edit read read read read edit read",
                                             "read edit read edit edit edit edit read",
                                             "read edit read read read read edit read",
                                             "read edit read edit edit edit edit edit",
                                             "read edit read edit edit edit edit read",
                                         }));
}

TEST(EvalMultiModel, TableWithoutFields) {
    View setup = detailedView("table T{ <2>:={} }");
    EXPECT_EQ(setup.model->rowCount(), 2);
    for (std::int32_t column = 0; column < setup.model->columnCount(); ++column)
        EXPECT_EQ(setup.model->createCell(column, 1)->text()->toStdString(), "") << column;
    setFlag(*setup.model, EvalMultiModel::ShowExtraCol, false);
    EXPECT_EQ(setup.model->rowCount(), 1);
}

TEST(EvalMultiModel, AddressTexts) {
    View setup = detailedView("table T{ a:=1! 2! <2>:={} }");
    struct Case {
        std::int32_t column, row;
        std::string address;
    };
    const std::vector<Case> cases = {
        {1, 1, "[base].a"}, {2, 1, "[1].a"}, {3, 2, "[2][1]"},
        {5, 1, "[sum].a"},  {0, 1, ""},  // the name column
        {2, 0, ""},                      // the header row
        {4, 1, ""},                      // the new record column
        {2, 3, ""},                      // the extra field line
    };
    for (const Case& c : cases)
        EXPECT_EQ(setup.model->cellAddress(c.column, c.row)->toStdString(), c.address)
            << c.column << "," << c.row;
    setup.settings->zeroRow = false;
    setup.model->layout();
    EXPECT_EQ(setup.model->cellAddress(1, 1)->toStdString(), "[1].a");
}

TEST(EvalMultiModel, RowIdentitiesSurviveFormulaLines) {
    View setup = detailedView(kTwoFields);
    std::int32_t valueOfB = setup.model->rowIdentity(2);
    std::int32_t header = setup.model->rowIdentity(0);
    setup.settings->showFormula = true;
    setup.model->layout();
    EXPECT_EQ(setup.model->rowIdentity(4), valueOfB);
    EXPECT_EQ(setup.model->rowIdentity(0), header);
    std::vector<std::int32_t> identities;
    for (std::int32_t row = 0; row < setup.model->rowCount(); ++row)
        identities.push_back(setup.model->rowIdentity(row));
    std::sort(identities.begin(), identities.end());
    EXPECT_EQ(std::adjacent_find(identities.begin(), identities.end()), identities.end());
}

TEST(EvalMultiModel, ColumnWidths) {
    View setup = detailedView(kTwoFields);
    EXPECT_EQ(setup.model->columnWidth(0), 20);
    EXPECT_EQ(setup.model->columnWidth(1), 70);
    setFlag(*setup.model, EvalMultiModel::ShowRowNum, false);
    EXPECT_EQ(setup.model->columnWidth(0), 70);
}

TEST(EvalMultiModel, EditingThroughCells) {
    View setup = detailedView(kTwoFields);
    setup.settings->showFormula = true;
    setup.model->layout();
    Pointer<ModelEditor> editor = test::editorOf(*setup.model);
    setup.model->createCell(3, 1)->setText(*editor, str("5"));  // a's formula in record 1
    setup.model->createCell(0, 3)->setText(*editor, str("c"));  // renames b
    setup.model->createCell(5, 2)->setText(*editor, str("9"));  // a in a new record 3
    setup.model->createCell(0, 5)->setText(*editor, str("d"));  // a new field
    setup.model->createCell(1, 2)->setText(*editor, str("7"));  // the caption column: no edit
    setup.model->createCell(6, 2)->setText(*editor, str("7"));  // the summary value: no edit
    auto rebuilt = make<EvalMultiModel>(setup.kernel->getTableByName("T"), setup.settings, true);
    EXPECT_EQ(renderGrid(*rebuilt),
              (std::vector<std::string>{"T|||1|2|3|*|", "a|Formula|1|5|1|9||15",
                                        "a|Value|1|5|1|9||15", "c|Formula|a+1|a+1|a+1|a+1||18",
                                        "c|Value|2|6|2|10||18", "d|Formula||||||", "d|Value||||||",
                                        "|Formula||||||", "|Value||||||"}));
    // Typing over a value edits the formula behind it; the summary has none.
    auto value = cast<ResultCell>(rebuilt->createCell(4, 2));
    value->formulaCell()->setText(*editor, str("=5"));
    EXPECT_TRUE(cast<ResultCell>(rebuilt->createCell(7, 2))->formulaCell().isNull());
    EXPECT_EQ(test::cell(*setup.kernel, "T", "a", 2), "5");
}

TEST(EvalMultiModel, PasteWalksFieldsDownAndRecordsAcross) {
    struct Case {
        const char* what;
        std::int32_t column, row;
        std::string text;
        std::vector<std::string> grid;
    };
    const std::vector<Case> cases = {
        {"tab then line feed",
         2,
         1,
         "7\t8\n9",
         {"T||1|2|*|", "a|1|7|9||16", "b|2|8|10||18", "|||||"}},
        {"lines past the last record add records",
         2,
         1,
         "7\t8\n9\t1\n4\t4",
         {"T||1|2|3|*|", "a|1|7|9|4||20", "b|2|8|1|4||13", "||||||"}},
        {"copied block with CR LF and trailing tabs",
         2,
         1,
         "7\t8\t\r\n9\t1\t\r\n",
         {"T||1|2|*|", "a|1|7|9||16", "b|2|8|1||9", "|||||"}},
        {"values past the last field are dropped",
         3,
         2,
         "5\t6\t7",
         {"T||1|2|*|", "a|1|1|1||2", "b|2|2|5||7", "|||||"}},
        {"the name column renames",
         0,
         1,
         "x\ty",
         {"T||1|2|*|", "x|1|1|1||2", "y|undefined: a|undefined: a|undefined: a||", "|||||"}},
        {"the summary column holds nothing to write",
         5,
         1,
         "5\t6",
         {"T||1|2|*|", "a|1|1|1||2", "b|2|2|2||4", "|||||"}},
        {"the header row holds nothing to write",
         2,
         0,
         "5",
         {"T||1|2|*|", "a|1|1|1||2", "b|2|2|2||4", "|||||"}},
    };
    for (const Case& c : cases) {
        View setup = detailedView(kTwoFields);
        setup.model->paste(*test::editorOf(*setup.model), c.column, c.row, c.text);
        auto rebuilt =
            make<EvalMultiModel>(setup.kernel->getTableByName("T"), setup.settings, true);
        EXPECT_EQ(renderGrid(*rebuilt), c.grid) << c.what;
    }
}

TEST(EvalMultiModel, CopyPastesBackAsItWas) {
    View source = detailedView("table T{ a:=! b:=! <1>:={a:=1, b:=\"p\"} <2>:={a:=2, b:=\"q\"} }");
    source.settings->zeroRow = false;
    source.model->layout();
    std::string copied = copyColumns(*source.model, 1, 2);
    EXPECT_EQ(copied, "1\tp\t\t\r\n2\tq\t\t\r\n");

    View target = detailedView("table T{ a:=0! b:=0! <2>:={} }");
    target.settings->zeroRow = false;
    target.model->layout();
    target.model->paste(*test::editorOf(*target.model), 1, 1, copied);
    auto rebuilt = make<EvalMultiModel>(target.kernel->getTableByName("T"), target.settings, false);
    EXPECT_EQ(copyColumns(*rebuilt, 1, 2), copied);
}

TEST(EvalMultiModel, HugePastesAreRefusedWithoutChange) {
    struct Case {
        const char* what;
        std::int32_t column;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"records past the row budget", 2, "1" + std::string(10'000'001, '\n') + "1",
         "too many rows: 10000002 rows pass the limit of 10000000"},
        {"values past the cell budget", 2, std::string(20'000'001, '\t'),
         "paste refused: 20000001 values pass the limit of 20000000 cells"},
    };
    for (const Case& c : cases) {
        View setup = detailedView(kTwoFields);
        std::int32_t changes = setup.kernel->getChangeCount();
        EXPECT_EQ(test::thrownMessage([&] {
                      setup.model->paste(*test::editorOf(*setup.model), c.column, 1, c.text);
                  }),
                  c.message)
            << c.what;
        EXPECT_EQ(setup.kernel->getChangeCount(), changes) << c.what;
    }
}

}  // namespace
}  // namespace qv
