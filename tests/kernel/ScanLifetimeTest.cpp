// A scanning aggregate (sum, plot, ...) in a formula whose names stop
// resolving after an edit: computing, undoing and computing again discards
// the results of the edited program, which must not reach a calculator the
// linker compiled and dropped.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "editing/CommandManager.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

std::string statistics() {
    std::ifstream in(QV_SOURCE_DIR "/examples/statistics.qvl", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ScanLifetime, AnAggregateOverANameThatStopsResolvingSurvivesUndo) {
    using Edit = std::function<void(ModelEditor&, TableResult&)>;
    struct Case {
        const char* name;
        std::string program;
        Edit edit;
    };
    const Case cases[] = {
        {"plot of a renamed field", "table T{ m:=range 1 to 3! a:=1! t:=plot(m, a); }",
         [](ModelEditor& e, TableResult& t) { e.setFieldName(t, 0, str("mon")); }},
        {"plot of a deleted field", "table T{ m:=range 1 to 3! a:=1! t:=plot(m, a); }",
         [](ModelEditor& e, TableResult& t) { e.deleteField(t, 0); }},
        {"a sum typed over an unknown name", "table T{ m:=range 1 to 3! a:=1! s:=0! }",
         [](ModelEditor& e, TableResult& t) {
             e.setCellText(t, 2, 0, str("=sum(zz) + plot(m, zz)"));
         }},
        // Where the dropped calculator's memory is taken again by then.
        {"the month of the statistics example deleted", statistics(),
         [](ModelEditor& e, TableResult& t) { e.deleteField(t, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = test::loadModel(c.program);
        const std::vector<std::string> before = test::allValues(*kernel);
        auto commands = make<CommandManager>();
        c.edit(*make<ModelEditor>(kernel->program(), commands.get()), *kernel->getTable(0));
        EXPECT_NE(test::allValues(*kernel), before);
        commands->undo();
        EXPECT_EQ(test::allValues(*kernel), before);
        commands->redo();
        commands->undo();
        EXPECT_EQ(test::allValues(*kernel), before);
    }
}

}  // namespace
}  // namespace qv
