// The heading view, the list of tables and the properties view: layouts,
// cells, edits and address texts.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Number.h"
#include "tests/views/ViewTestSupport.h"
#include "views/EvalSingleModel.h"
#include "views/PropertiesTableModel.h"
#include "views/TablesView.h"

namespace qv {
namespace {

using test::loadModel;
using test::renderGrid;
using test::renderRoles;

constexpr std::string_view kTwoFields = "table T{ a:=1! b:=a+1! <2>:={} }";

struct Heading {
    Pointer<Kernel> kernel;
    Pointer<GlobalSettings> settings;
    Pointer<EvalSingleModel> model;
};

Heading headingView(std::string_view program) {
    Heading view{loadModel(program), make<GlobalSettings>(), {}};
    view.model = make<EvalSingleModel>(view.kernel->getTableByName("T"), view.settings);
    return view;
}

TEST(EvalSingleModel, LayoutUnderEachFlag) {
    struct Case {
        const char* what;
        std::function<void(Heading&)> change;
        std::vector<std::string> grid;
    };
    auto set = [](Heading& view, EvalSingleModel::Flag flag, bool value) {
        view.model->viewProperties()->setProperty(flag, Boolean::of(value));
    };
    const std::vector<Case> cases = {
        {"defaults", [](Heading&) {}, {"|Name|Value|Visible", "|a|1|true", "|b|2|true", "*|||"}},
        {"formulas by the document setting",
         [](Heading& v) {
             v.settings->showFormula = true;
             v.model->layout();
         },
         {"|Name|Formula|Value|Visible", "|a|1|1|true", "|b|a+1|2|true", "*||||"}},
        // The view's own flag rules nothing.
        {"show_expression alone",
         [&](Heading& v) { set(v, EvalSingleModel::ShowExpression, true); },
         {"|Name|Value|Visible", "|a|1|true", "|b|2|true", "*|||"}},
        {"summary",
         [&](Heading& v) { set(v, EvalSingleModel::ShowSummary, true); },
         {"|Name|Value|Summary|Visible", "|a|1|2|true", "|b|2|4|true", "*||||"}},
        {"no names, no visibility",
         [&](Heading& v) {
             set(v, EvalSingleModel::ShowName, false);
             set(v, EvalSingleModel::ShowVisible, false);
         },
         {"|Value", "|1", "|2", "*|"}},
        {"spreadsheet look numbers the lines",
         [](Heading& v) {
             v.settings->spreadsheetLook = true;
             v.model->setNumbering(true);
         },
         {"||Name|Value|Visible", "1||a|1|true", "2||b|2|true", "*||||"}},
        {"another record",
         [](Heading& v) { v.model->setRecord(-1); },
         {"|Name|Value|Visible", "|a|2|true", "|b|4|true", "*|||"}},
    };
    for (const Case& c : cases) {
        Heading view = headingView(kTwoFields);
        c.change(view);
        EXPECT_EQ(renderGrid(*view.model), c.grid) << c.what;
    }
}

TEST(EvalSingleModel, CellsWidthsAndAddresses) {
    Heading view = headingView("table T{ a:=1! 2! <2>:={} }");
    view.settings->showFormula = true;
    view.model->viewProperties()->setProperty(EvalSingleModel::ShowSummary, Boolean::of(true));
    EXPECT_EQ(renderRoles(*view.model),
              (std::vector<std::string>{
                  "read read read read read read", "read edit edit read read check",
                  "read edit edit read read check", "read edit edit read read read"}));
    std::vector<std::int32_t> widths;
    for (std::int32_t column = 0; column < 7; ++column)
        widths.push_back(view.model->columnWidth(column));
    EXPECT_EQ(widths, (std::vector<std::int32_t>{20, 100, 200, 100, 100, 50, 0}));
    EXPECT_EQ(view.model->cellAddress(3, 1)->toStdString(), "[0].a");
    EXPECT_EQ(view.model->cellAddress(2, 2)->toStdString(), "[0][1]");
    EXPECT_EQ(view.model->cellAddress(1, 1)->toStdString(), "");
    EXPECT_EQ(view.model->title()->toStdString(), "T - heading view");
}

TEST(EvalSingleModel, EditsReachTheTable) {
    Heading view = headingView(kTwoFields);
    view.settings->showFormula = true;
    view.model->layout();
    Pointer<ModelEditor> editor = test::editorOf(*view.model);
    view.model->createCell(2, 1)->setText(*editor, str("=5"));  // a's formula
    view.model->createCell(4, 2)->setBoolean(*editor, false);   // hides b
    view.model->createCell(1, 3)->setText(*editor, str("c"));   // a new field
    auto rebuilt = make<EvalSingleModel>(view.kernel->getTableByName("T"), view.settings);
    EXPECT_EQ(renderGrid(*rebuilt),
              (std::vector<std::string>{"|Name|Formula|Value|Visible", "|a|5|5|true",
                                        "|b|a+1|6|false", "|c|||true", "*||||"}));
}

TEST(EvalSingleModel, TableWithoutFields) {
    Heading view = headingView("table T{ <1>:={} }");
    EXPECT_EQ(renderGrid(*view.model), (std::vector<std::string>{"|Name|Value|Visible", "*|||"}));
}

TEST(TablesView, ListsTablesAndMakesNewOnes) {
    auto kernel =
        loadModel("table A{ v:=1! } table B extends A{ w:=2! } table C extends Missing{ x:=1! }");
    auto view = make<TablesView>(kernel);
    EXPECT_EQ(view->title()->toStdString(), "Tables");
    std::vector<std::string> grid = renderGrid(*view);
    ASSERT_EQ(grid.size(), 5u);
    EXPECT_EQ(grid[0], "|Name|Base name|Warnings");
    EXPECT_EQ(grid[1], "1|A||");
    EXPECT_EQ(grid[2], "2|B|A|");
    EXPECT_EQ(grid[4], "*|||");
    EXPECT_FALSE(view->createCell(3, 2)->isError());
    EXPECT_TRUE(view->createCell(3, 3)->isError()) << grid[3];
    EXPECT_EQ(renderRoles(*view)[1], "read edit edit read");
    EXPECT_EQ(renderRoles(*view)[4], "read edit edit read");

    Pointer<ModelEditor> editor = test::editorOf(*view);
    view->createCell(1, 4)->setText(*editor, str("D"));
    view->createCell(1, 1)->setText(*editor, str("A2"));
    EXPECT_EQ(view->rowCount(), 6);
    EXPECT_EQ(renderGrid(*view)[4], "4|D||");
    EXPECT_EQ(renderGrid(*view)[1], "1|A2||");
    // B now names a base that is gone.
    EXPECT_TRUE(view->createCell(3, 2)->isError());
    view->createCell(2, 2)->setText(*editor, str("1x"));
    EXPECT_TRUE(view->createCell(2, 2)->isError());
    // An empty text on the new line (Delete there) makes no table: one with
    // neither a name nor a base could not be written back.
    view->createCell(2, 5)->setText(*editor, str(""));
    EXPECT_EQ(view->rowCount(), 6);
    EXPECT_EQ(test::thrownMessage([&] { kernel->program()->toSource(); }), "(no error)");
}

// A list of two Boolean properties, the second unreadable.
class TwoProperties final : public PropertyList {
    QV_OBJECT(TwoProperties, PropertyList, "TwoProperties")
  public:
    bool on = false;
    StringPointer propertyName(std::int32_t index) const override {
        return str(index == 0 ? "on" : index == 1 ? "broken" : "");
    }
    StringPointer title() const override { return str("Two"); }
    std::int32_t propertyCount() const override { return 2; }
    Pointer<Object> propertyValue(std::int32_t index) const override {
        return index == 0 ? Pointer<Object>(Boolean::of(on)) : Pointer<Object>();
    }
    void setProperty(std::int32_t index, const Pointer<Object>& value) override {
        if (index == 0 && is<Boolean>(value)) on = cast<Boolean>(value)->value();
    }
};

TEST(PropertiesTableModel, FollowsTheSelection) {
    auto view = make<PropertiesTableModel>();
    EXPECT_EQ(renderGrid(*view),
              (std::vector<std::string>{"||", "|click on object to see properties|"}));
    EXPECT_EQ(view->title()->toStdString(), "Properties");

    auto properties = make<TwoProperties>();
    view->setProperties(properties);
    EXPECT_EQ(view->title()->toStdString(), "Two");
    EXPECT_EQ(renderGrid(*view),
              (std::vector<std::string>{"|name|value", "0|on|false", "1|broken|error!"}));
    Pointer<ModelEditor> editor = test::editorOf(*view);
    view->createCell(2, 1)->setText(*editor, str(""));
    EXPECT_TRUE(properties->on);
    view->createCell(2, 2)->setText(*editor, str(""));  // unreadable: nothing to toggle
    EXPECT_TRUE(view->createCell(2, 2)->isError());

    // A view's own properties through the same view.
    auto kernel = loadModel(kTwoFields);
    auto heading = make<EvalSingleModel>(kernel->getTableByName("T"), make<GlobalSettings>());
    view->setProperties(heading->viewProperties());
    EXPECT_EQ(
        renderGrid(*view),
        (std::vector<std::string>{"|name|value", "0|show_expression|false", "1|show_summary|false",
                                  "2|show_visible|true", "3|show_name|true"}));
    EXPECT_EQ(view->title()->toStdString(), "Row view properties");
    view->createCell(2, 2)->setText(*editor, str(""));
    EXPECT_EQ(heading->columnCount(), 5);
}

TEST(ModelProperties, NamesDefaultsAndBounds) {
    auto kernel = loadModel(kTwoFields);
    auto settings = make<GlobalSettings>();
    auto heading = make<EvalSingleModel>(kernel->getTableByName("T"), settings);
    Pointer<PropertyList> properties = heading->viewProperties();
    EXPECT_EQ(properties->propertyCount(), 4);
    EXPECT_EQ(test::typed(properties->propertyValue(4)), "null");
    EXPECT_EQ(test::typed(properties->propertyValue(-1)), "null");
    EXPECT_EQ(properties->propertyName(4)->toStdString(), "");
    properties->setProperty(1, str("true"));  // not a Boolean: ignored
    EXPECT_EQ(test::typed(properties->propertyValue(1)), "Boolean:false");
}

}  // namespace
}  // namespace qv
