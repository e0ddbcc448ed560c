// A recovery copy's text made in slices: whatever the slices, it is the
// document as saving writes it at the moment the text was begun.
#include <gtest/gtest.h>

#include <string>

#include "app/Document.h"
#include "desktop/RecoveryText.h"

namespace qv {
namespace {

std::string manyRows(int rows) {
    std::string text = "// prices\ntable Prices{\n    product:=\"\"!\n    net:=0!\n";
    for (int row = 1; row <= rows; ++row) {
        text += "    <" + std::to_string(row) + ">:={product:=\"Item " + std::to_string(row) +
                "\",net:=" + std::to_string(row % 97) + "}\n";
    }
    return text + "}\ntable Sum{\n    total:=sum(Prices.net)!\n}\n";
}

TEST(RecoveryText, SlicesJoinIntoTheTextAsItWasWhenBegun) {
    const struct {
        const char* name;
        int rows;
        int slices;  // with no time at all: a table, or a few thousand rows, each
    } cases[] = {{"empty model", 0, 2}, {"small", 10, 2}, {"large", 5000, 4}};
    const std::string layout = "result Sum\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Document> document = Document::read(str(manyRows(c.rows) + "//--end"));
        Pointer<ProgramDef> program = document->kernel()->program();
        const std::string expected =
            program->toSource()->toStdString() + layout + std::string(Document::kEndMark);
        std::unique_ptr<RecoveryText> text = slicedRecoveryText(*program, layout);
        // Edits after the beginning do not reach the copy.
        program->table(0)->field(1)->setFormula(1, Pointer<AbstractExpression>());
        program->table(0)->setNumRows(2);
        program->tables()->remove(1);
        int slices = 1;
        while (!text->work(RecoveryText::Clock::time_point::min()))
            ++slices;
        EXPECT_EQ(slices, c.slices);
        EXPECT_EQ(text->take(), expected);
    }
}

TEST(RecoveryText, AWholeTextTakesOneSlice) {
    std::unique_ptr<RecoveryText> text = wholeRecoveryText("table A{}\n//--end");
    EXPECT_TRUE(text->work(RecoveryText::Clock::time_point::min()));
    EXPECT_EQ(text->take(), "table A{}\n//--end");
}

}  // namespace
}  // namespace qv
