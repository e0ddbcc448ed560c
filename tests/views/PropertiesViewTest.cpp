// The document properties as the properties view shows them, and a setting
// changed there reaching the table views at their next layout pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/StringStream.h"
#include "language/TableParser.h"
#include "model/ModelEditor.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/GlobalSettingsProperties.h"
#include "views/PropertiesTableModel.h"

namespace qv {
namespace {

// A view property is no model edit: the editor these toggles get has no
// program.
const Pointer<ModelEditor> noModel = make<ModelEditor>(Pointer<ProgramDef>(), nullptr);

std::vector<std::string> rows(GridModel& model) {
    std::vector<std::string> lines;
    for (std::int32_t row = 0; row < model.rowCount(); ++row) {
        std::string line;
        for (std::int32_t column = 0; column < model.columnCount(); ++column)
            line += (column > 0 ? "|" : "") + model.createCell(column, row)->text()->toStdString();
        lines.push_back(line);
    }
    return lines;
}

TEST(PropertiesView, DocumentPropertiesShowThreeEntriesAndRuleTheTableViews) {
    auto settings = make<GlobalSettings>();
    PlainSupportFlags support;
    auto kernel = make<Kernel>();
    kernel->program()->addTable(
        make<TableParser>()->parseTable(make<StringStream>(str("table T{ a:=1! <1>:={} }"))));
    auto view = make<PropertiesTableModel>();
    view->setProperties(make<GlobalSettingsProperties>(
        settings, [kernel] { return kernel; }, support));
    EXPECT_EQ(view->title()->toStdString(), "Document properties");
    EXPECT_EQ(rows(*view),
              (std::vector<std::string>{"|name|value", "0|Show column numbers|false",
                                        "1|Show Formula|false", "2|Hide repeat values|true"}));

    auto detailed = make<EvalMultiModel>(kernel->getTableByName("T"), settings, true);
    auto heading = make<EvalSingleModel>(kernel->getTableByName("T"), settings);
    std::int32_t detailedRows = detailed->rowCount();
    std::int32_t headingColumns = heading->columnCount();
    view->createCell(2, 2)->setText(*noModel, str(""));  // toggles "Show Formula"
    EXPECT_TRUE(settings->showFormula);
    // Nothing changes before the views' next layout pass.
    EXPECT_EQ(detailed->rowCount(), detailedRows);
    detailed->layout();
    heading->layout();
    EXPECT_EQ(detailed->rowCount(), detailedRows + 2);  // a formula line per field line
    EXPECT_EQ(heading->columnCount(), headingColumns + 1);
}

}  // namespace
}  // namespace qv
