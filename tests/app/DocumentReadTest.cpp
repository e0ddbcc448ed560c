// Reading documents: one row per message of the reader with an input that
// triggers it, the bounds on untrusted layouts, and the edge cases of the
// format (placements, empty cells, escapes, order of tables and views).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileParser.h"
#include "app/HeadlessViewFactory.h"
#include "app/LayoutTable.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

using test::readDocument;
using test::readError;
using test::rewritten;

// What a view element opens: its directive keyword and its argument.
std::string viewOf(const Pointer<LayoutElement>& element) {
    auto view = cast<ViewElement>(element);
    if (view.isNull()) return "(not a view)";
    return std::string(elementKeyword(view->kind())) + ":" + view->argument()->toStdString();
}

struct MessageCase {
    const char* input;
    const char* where;  // LINE:COL of what the message is about
    const char* message;
};

// Each message with the place it names: the token that could not be used
// (the end of the text when it ran out), or the name of a missing table.
TEST(DocumentReadTest, EveryMessageHasAnInputThatRaisesItAtItsPlace) {
    const std::vector<MessageCase> cases = {
        {"result(T);", "1:1", "expecting  table,maximized,optimized or floating"},
        {"table T{} 12", "1:11", "expecting  table,maximized,optimized or floating"},
        {"maximized window();", "1:11", "unexpeted token"},
        {"maximized", "1:10", "unexpeted token"},
        {"maximized ltable{lrow{table}}", "1:23", "unexpeted token"},
        {"optimized(a,1) text(\"x\");", "1:11", "expecting number"},
        {"floating(1,\"2\") text(\"x\");", "1:12", "expecting number"},
        {"optimized(-5,7) text(\"x\");", "1:11", "expecting number"},
        {"maximized chart(1);", "1:17", "expecing identifier"},
        {"maximized chart();", "1:17", "expecing identifier"},
        {"maximized text(x);", "1:16", "expecing string"},
        {"maximized text();", "1:16", "expecing string"},
        {"maximized project();", "1:19", "expecting expression in project()"},
        {"maximized project( /* nothing */ );", "1:34", "expecting expression in project()"},
        {"maximized chart(Nope);", "1:17", "table not found"},
        {"table T{} maximized ltable{lrow{chart(t);}}", "1:39", "table not found"},
        {"optimized(10) text(\"x\");", "1:13", "expecting ,"},
        {"optimized 10,20 text(\"x\");", "1:11", "expecting ("},
        {"maximized properties;", "1:21", "expecting ("},
        {"optimized(10,20 text(\"x\");", "1:17", "expecting )"},
        {"maximized properties(1);", "1:22", "expecting )"},
        {"maximized explain;", "1:18", "expecting ("},
        {"maximized explain(T);", "1:19", "expecting )"},
        {"maximized explain()", "1:20", "expecting ;"},
        {"maximized text(\"a\" \"b\");", "1:20", "expecting )"},
        {"maximized text(\"unclosed", "1:25", "expecting )"},
        {"maximized result(a b);", "1:20", "expecting )"},
        {"maximized result(x)", "1:20", "expecting ;"},
        {"maximized chart(T) table T{}", "1:20", "expecting ;"},
        {"maximized ltable lrow{}", "1:18", "expecting {"},
        {"maximized ltable{lrow;}", "1:22", "expecting {"},
        {"maximized ltable{text(\"x\");}", "1:18", "expecting }"},
        {"maximized ltable{lrow{}", "1:24", "expecting }"},
        {"table T{a:=1;\nmaximized text(\"x\");", "2:1", "missing } of table T begun at 1:1"},
        {"table T{a:=1;\n\noptimized(10,20) ltable{lrow{}}", "3:1",
         "missing } of table T begun at 1:1"},
        {"table T{a:=1;\nfloating(1,2) chart(T);", "2:1", "missing } of table T begun at 1:1"},
        {"table T{ maximized:=1! a:=maximized result(1);}", "1:37",
         "syntax error: expecting ; ! or ="},
        {"table T{a:=1;} /* note", "1:16", "unterminated comment"},
        {"maximized result(1 /* x);", "1:20", "unterminated comment"},
        // Messages of the tokenizer, the table and the expression parsers
        // pass through unchanged.
        {"maximized text(\"a\"); $", "1:22", "invalid char"},
        {"table T{a:=1 }", "1:14", "syntax error: expecting ; ! or ="},
        {"table {}", "1:7", "expecting identifier"},
        {"maximized result((1);", "1:21", "expecting )"},
        {"maximized result(-);", "1:19", "expecting expression after unary operator"},
        // Lines end with LF, CR LF or a lone CR alike; columns count bytes.
        {"table T{a:=1!}\n\n// views\nmaximized chart(T);\noptimized(1,2) chart(U);", "5:22",
         "table not found"},
        {"// views\rmaximized text(\"a\");\r\rmaximized text(b);", "4:16", "expecing string"},
        {"table T{\r\n  a:=1;\n  b:=2;\r  c:=(3;\n}", "4:8", "expecting )"},
        {"\xEF\xBB\xBFmaximized text(\"\xC3\xA9\"); bogus", "1:23",
         "expecting  table,maximized,optimized or floating"},
    };
    for (const MessageCase& row : cases) {
        SCOPED_TRACE(row.input);
        EXPECT_EQ(test::readErrorAt(row.input), std::string(row.where) + " " + row.message);
    }
}

// The layout is read in full before any view is made: a syntax error after
// a view that would fail wins, and a view may name a table defined later.
TEST(DocumentReadTest, LayoutSyntaxIsCheckedBeforeAnyViewIsMade) {
    EXPECT_EQ(readError("maximized chart(Later); maximized text(x);"), "expecing string");
    EXPECT_EQ(readError("maximized chart(Later); table Later{} table Broken{a}"),
              "syntax error: expecting ; ! or =");
    auto document = readDocument("optimized(5,6) chart(Later); table Later{a:=1!}");
    EXPECT_EQ(document->kernel()->getTableCount(), 1);
    EXPECT_EQ(document->layout()->toSource()->toStdString(), "optimized(5,6) chart(Later);\n");
}

// Counts the views the factory is asked for, to show that a failed reading
// stops before the second pass makes any.
class CountingFactory final : public ViewFactory {
    QV_OBJECT(CountingFactory, ViewFactory, "CountingFactory")
  public:
    Pointer<Object> makeLayoutRoot() override { return m_headless->makeLayoutRoot(); }
    Pointer<Object> makeTextArea(const StringPointer& text) override {
        return counted(m_headless->makeTextArea(text));
    }
    Pointer<Object> makeResultView(const StringPointer& expression) override {
        return counted(m_headless->makeResultView(expression));
    }
    Pointer<Object> makePropertiesView() override {
        return counted(m_headless->makePropertiesView());
    }
    Pointer<Object> makeExplainView(const Pointer<Kernel>& kernel) override {
        return counted(m_headless->makeExplainView(kernel));
    }
    Pointer<Object> makeChart(const Pointer<Kernel>& kernel, const StringPointer& name) override {
        return counted(m_headless->makeChart(kernel, name));
    }
    Pointer<Object> makeProjectView(const Pointer<Kernel>& kernel,
                                    const StringPointer& expression) override {
        return counted(m_headless->makeProjectView(kernel, expression));
    }
    Pointer<Object> makeLayoutTable() override { return counted(m_headless->makeLayoutTable()); }
    Pointer<Object> makeFrame(const Pointer<Object>& view, FramePlacement placement,
                              const ItemComments& comments) override {
        return m_headless->makeFrame(view, placement, comments);
    }
    void putCell(const Pointer<Object>& table, std::int32_t row, std::int32_t column,
                 const Pointer<Object>& frame) override {
        m_headless->putCell(table, row, column, frame);
    }
    void placeFrame(const Pointer<Object>& root, const Pointer<Object>& frame, std::int32_t x,
                    std::int32_t y) override {
        m_headless->placeFrame(root, frame, x, y);
    }
    void keepEndComments(const Pointer<Object>& root, const StringPointer& comments) override {
        m_headless->keepEndComments(root, comments);
    }

    int views = 0;

  private:
    Pointer<Object> counted(const Pointer<Object>& view) {
        ++views;
        return view;
    }
    Pointer<HeadlessViewFactory> m_headless = make<HeadlessViewFactory>();
};

TEST(DocumentReadTest, AFailedReadingMakesNoViewAndKeepsNothing) {
    auto factory = make<CountingFactory>();
    auto parser = make<FileParser>(factory);
    EXPECT_EQ(test::messageOf([&] {
                  parser->parse(str("table T{} maximized text(\"a\"); maximized result(T) "));
              }),
              "expecting ;");
    EXPECT_EQ(factory->views, 0);
    EXPECT_TRUE(parser->kernel().isNull());
    EXPECT_TRUE(parser->layoutRoot().isNull());

    parser->parse(str("table T{} maximized ltable{lrow{text(\"a\"); chart(T);}}"));
    EXPECT_EQ(factory->views, 3);
    EXPECT_EQ(parser->kernel()->getTableCount(), 1);
}

// Comments alone are kept, as the comments at the end of the document.
TEST(DocumentReadTest, EmptyTextsGiveAnEmptyProgramAndWorkArea) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "//--end"},
        {"  \n\t", "//--end"},
        {"//--end", "//--end"},
        {"\r\n//--end\r\n", "//--end"},
        {"\xEF\xBB\xBF", "//--end"},
        {"// only a comment", "// only a comment\n//--end"},
        {"/* block */", "/* block */\n//--end"},
    };
    for (const auto& [text, written] : cases) {
        SCOPED_TRACE(text);
        auto document = readDocument(text);
        EXPECT_EQ(document->kernel()->getTableCount(), 0);
        EXPECT_EQ(document->layout()->frameCount(), 0);
        EXPECT_EQ(document->toSource()->toStdString(), written);
    }
}

struct PlacementCase {
    const char* input;
    FramePlacement placement;
    std::int32_t x;
    std::int32_t y;
    const char* written;
};

TEST(DocumentReadTest, PlacementsReadAndWriteBack) {
    const std::vector<PlacementCase> cases = {
        {"maximized text(\"a\");", FramePlacement::Maximized, 0, 0, "maximized text(\"a\");\n"},
        {"optimized(40,40) properties();", FramePlacement::Optimized, 40, 40,
         "optimized(40,40) properties();\n"},
        {"optimized(12,34) explain();", FramePlacement::Optimized, 12, 34,
         "optimized(12,34) explain();\n"},
        // A floating frame reads back as an optimized one.
        {"floating(10,20) text(\"a\");", FramePlacement::Optimized, 10, 20,
         "optimized(10,20) text(\"a\");\n"},
        // Coordinates are taken as integers, no farther than a frame may stand.
        {"optimized(7.9, 1e30) properties();", FramePlacement::Optimized, 7, kFarthestFramePosition,
         "optimized(7,1000000) properties();\n"},
    };
    for (const PlacementCase& row : cases) {
        SCOPED_TRACE(row.input);
        auto layout = readDocument(row.input)->layout();
        ASSERT_EQ(layout->frameCount(), 1);
        EXPECT_EQ(layout->frame(0)->placement(), row.placement);
        EXPECT_EQ(layout->frame(0)->x(), row.x);
        EXPECT_EQ(layout->frame(0)->y(), row.y);
        EXPECT_EQ(layout->toSource()->toStdString(), row.written);
    }
}

TEST(DocumentReadTest, ViewsKeepTheirArgumentsAndStackInOrder) {
    auto layout = readDocument(
                      "maximized result( Prices[1] + 2 /* note */ );"
                      "optimized(1,2) project(tables);"
                      "optimized(3,4) chart([Two words]);"
                      "optimized(5,6) text(\"line\\none\");"
                      "table [Two words]{}")
                      ->layout();
    ASSERT_EQ(layout->frameCount(), 4);
    std::vector<std::string> seen;
    for (std::int32_t i = 0; i < layout->frameCount(); ++i)
        seen.push_back(viewOf(layout->frame(i)->element()));
    EXPECT_EQ(seen, (std::vector<std::string>{"result:Prices[1] + 2", "project:tables",
                                              "chart:Two words", "text:line\none"}));
}

TEST(DocumentReadTest, ALoneSemicolonLeavesACellEmpty) {
    auto layout =
        readDocument("maximized ltable{lrow{; text(\"x\");} lrow{properties();}}")->layout();
    auto table = cast<LayoutTable>(layout->frame(0)->element());
    ASSERT_FALSE(table.isNull());
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 2);
    EXPECT_TRUE(table->cell(0, 0).isNull());
    ASSERT_FALSE(table->cell(0, 1).isNull());
    EXPECT_EQ(table->cell(0, 1)->placement(), FramePlacement::InTable);
    EXPECT_EQ(viewOf(table->cell(0, 1)->element()), "text:x");
    EXPECT_EQ(viewOf(table->cell(1, 0)->element()), "properties:");
    EXPECT_EQ(layout->toSource()->toStdString(),
              "maximized ltable{\n"
              "    lrow{\n"
              "        ;\n"
              "        text(\"x\");\n"
              "    }\n"
              "    lrow{\n"
              "        properties();\n"
              "        ;\n"
              "    }\n"
              "}\n");
}

// Rows and columns grow only where a view is put; an empty table is 1 by 1.
TEST(DocumentReadTest, GridsGrowOnlyToTheirViews) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"ltable{}", "1x1"},
        {"ltable{lrow{} lrow{} lrow{;;;}}", "1x1"},
        {"ltable{lrow{} lrow{} lrow{;;properties();}}", "3x3"},
        {"ltable{lrow{properties();;;} lrow{}}", "1x1"},
    };
    for (const auto& [input, size] : cases) {
        SCOPED_TRACE(input);
        auto layout = readDocument(std::string("maximized ") + input)->layout();
        auto table = cast<LayoutTable>(layout->frame(0)->element());
        ASSERT_FALSE(table.isNull());
        EXPECT_EQ(std::to_string(table->rowCount()) + "x" + std::to_string(table->columnCount()),
                  size);
    }
}

TEST(DocumentReadTest, TextAreasUnescapeLineFeedsAndDoubledQuotes) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {R"(text("a\nb"))", "a\nb"},
        {"text(\"raw\nline\")", "raw\nline"},
        {"text(\"cr\rstays\")", "cr\rstays"},
        {R"(text("back\slash"))", "back\\slash"},
        {R"(text("say ""hi"""))", "say \"hi\""},
        {R"(text(""""))", "\""},
        {R"(text(""))", ""},
        {R"(text("a"/**/""))", nullptr},
    };
    for (const auto& [directive, text] : cases) {
        SCOPED_TRACE(directive);
        std::string input = std::string("maximized ") + directive + ";";
        if (text == nullptr) {
            EXPECT_EQ(readError(input), "expecting )");
            continue;
        }
        auto layout = readDocument(input)->layout();
        auto view = cast<ViewElement>(layout->frame(0)->element());
        ASSERT_FALSE(view.isNull());
        EXPECT_EQ(view->argument()->toStdString(), text);
    }
}

TEST(DocumentReadTest, TheNewDocumentHasOneTableAndOneProjectView) {
    auto document = Document::makeNew();
    ASSERT_EQ(document->kernel()->getTableCount(), 1);
    EXPECT_EQ(document->kernel()->program()->table(0)->tableName()->toStdString(), "Table1");
    ASSERT_EQ(document->layout()->frameCount(), 1);
    const Pointer<Frame>& frame = document->layout()->frame(0);
    EXPECT_EQ(frame->placement(), FramePlacement::Optimized);
    EXPECT_EQ(frame->x(), 40);
    EXPECT_EQ(frame->y(), 40);
    EXPECT_EQ(viewOf(frame->element()), "project:Table1");
    EXPECT_EQ(document->toSource()->toStdString(),
              "table Table1{\n}\noptimized(40,40) project(Table1);\n//--end");
}

// Nothing is computed while reading: the kernel's feedback sees no
// computation until a value is asked for.
TEST(DocumentReadTest, ReadingComputesNothing) {
    struct Feedback final : AbstractKernelFeedback {
        const char* getClassName() const noexcept override { return "Feedback"; }
        void computeStarted() override { ++started; }
        void computeFinished() override {}
        int started = 0;
    };
    auto feedback = make<Feedback>();
    auto document = Document::read(
        str("table T{a:=range 1 to 5!} maximized chart(T); optimized(1,1) result(T);"), feedback);
    EXPECT_EQ(feedback->started, 0);
    EXPECT_EQ(document->kernel()->getTableByName("T")->rowCount(), 6);
    EXPECT_EQ(feedback->started, 1);
}

std::string nested(int depth, const std::string& inner) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "ltable{lrow{";
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += "}}";
    return text;
}

TEST(DocumentReadTest, LayoutTablesAreBoundedInDepthAndSize) {
    const int deepest = FileParser::kMaxLayoutNesting;
    EXPECT_EQ(readError("maximized " + nested(deepest, "text(\"deep\");")), "(no error)");
    EXPECT_EQ(readError("maximized " + nested(deepest + 1, "")), "layout tables nested too deeply");
    // The place is the first layout table too deep.
    EXPECT_EQ(test::readErrorAt("maximized " + nested(deepest + 1, "")),
              "1:" + std::to_string(11 + 12 * deepest) + " layout tables nested too deeply");

    const auto cells = static_cast<int>(FileParser::kMaxLayoutCells);
    std::string wide = "maximized ltable{lrow{" + std::string(cells - 1, ';') + "properties();}}";
    EXPECT_EQ(readError(wide), "(no error)");
    std::string wider = "maximized ltable{lrow{" + std::string(cells, ';') + "properties();}}";
    EXPECT_EQ(readError(wider), "layout table too large");
    // 100 by 100 fills the budget; one more table, even 1 by 1, exceeds it.
    std::string square = "ltable{";
    for (int row = 0; row < 99; ++row)
        square += "lrow{}";
    square += "lrow{" + std::string(99, ';') + "properties();}}";
    EXPECT_EQ(readError("maximized " + square), "(no error)");
    EXPECT_EQ(readError("maximized " + square + " maximized ltable{}"), "layout table too large");
    // Cells count over the whole document, nested or not.
    std::string halves = "ltable{lrow{" + std::string(cells / 2 - 1, ';') + "properties();}}";
    EXPECT_EQ(readError("maximized " + halves + " optimized(1,1) " + halves), "(no error)");
    EXPECT_EQ(readError("maximized " + halves + " optimized(1,1) ltable{lrow{" + halves + "}}"),
              "layout table too large");
}

}  // namespace
}  // namespace qv
