// Writing the layout: each element's directive, each frame's prefix, layout
// tables with every row and column, nested indentation, and the escapes
// that make every text area and chart read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Layout.h"
#include "app/LayoutTable.h"
#include "app/TextEscapes.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

Pointer<ViewElement> view(ElementKind kind, std::string_view argument) {
    return make<ViewElement>(kind, str(argument));
}

Pointer<Frame> inTable(const Pointer<LayoutElement>& element) {
    return make<Frame>(element, FramePlacement::InTable);
}

struct ElementCase {
    ElementKind kind;
    const char* argument;
    const char* written;
};

TEST(LayoutWriteTest, EachElementWritesItsDirective) {
    const std::vector<ElementCase> cases = {
        {ElementKind::kTextArea, "plain", "text(\"plain\");\n"},
        {ElementKind::kTextArea, "a\nb", "text(\"a\\nb\");\n"},
        {ElementKind::kTextArea, "cr\r\nlf", "text(\"cr\r\\nlf\");\n"},
        {ElementKind::kTextArea, "say \"hi\"", "text(\"say \"\"hi\"\"\");\n"},
        {ElementKind::kTextArea, "", "text(\"\");\n"},
        {ElementKind::kResultView, "Prices[1] + 2", "result(Prices[1] + 2);\n"},
        {ElementKind::kResultView, "a +\nb", "result(a +\nb);\n"},
        {ElementKind::kPropertiesView, "", "properties();\n"},
        {ElementKind::kChart, "Prices", "chart(Prices);\n"},
        {ElementKind::kChart, "Two words", "chart([Two words]);\n"},
        {ElementKind::kChart, "if", "chart([if]);\n"},
        {ElementKind::kProjectView, "tables", "project(tables);\n"},
        {ElementKind::kExplainView, "", "explain();\n"},
    };
    for (const ElementCase& row : cases) {
        SCOPED_TRACE(row.written);
        EXPECT_EQ(view(row.kind, row.argument)->toSource()->toStdString(), row.written);
    }
}

struct PrefixCase {
    FramePlacement placement;
    std::int32_t x;
    std::int32_t y;
    const char* prefix;
};

TEST(LayoutWriteTest, FramesWriteTheirPlacementPrefix) {
    const std::vector<PrefixCase> cases = {
        {FramePlacement::Maximized, 30, 40, "maximized "},
        {FramePlacement::Optimized, 10, 20, "optimized(10,20) "},
        {FramePlacement::Floating, 10, 20, "floating(10,20) "},
        {FramePlacement::Optimized, -5, 7, "optimized(0,7) "},
        {FramePlacement::Floating, 3, -2147483647 - 1, "floating(3,0) "},
        {FramePlacement::InTable, 10, 20, ""},
    };
    for (const PrefixCase& row : cases) {
        SCOPED_TRACE(row.prefix);
        auto frame = make<Frame>(view(ElementKind::kPropertiesView, ""), row.placement);
        frame->moveTo(row.x, row.y);
        EXPECT_EQ(frame->toSource()->toStdString(), std::string(row.prefix) + "properties();\n");
    }
}

TEST(LayoutWriteTest, APutGrowsTheGridAndEveryPositionIsWritten) {
    auto table = make<LayoutTable>();
    EXPECT_EQ(table->toSource()->toStdString(), "ltable{\n    lrow{\n        ;\n    }\n}\n");
    table->put(2, 3, inTable(view(ElementKind::kChart, "T")));
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->columnCount(), 4);
    const std::string emptyCell = "        ;\n";
    const std::string emptyRow =
        "    lrow{\n" + emptyCell + emptyCell + emptyCell + emptyCell + "    }\n";
    EXPECT_EQ(table->toSource()->toStdString(),
              "ltable{\n" + emptyRow + emptyRow +
                  "    lrow{\n        ;\n        ;\n        ;\n        chart(T);\n    }\n}\n");
    // A put replaces what stood there.
    table->put(2, 3, inTable(view(ElementKind::kPropertiesView, "")));
    EXPECT_EQ(table->occupiedCount(), 1);
    EXPECT_EQ(table->cell(2, 3)->element()->kind(), ElementKind::kPropertiesView);
}

// Nested tables indent their own lines one step deeper; line feeds inside
// an expression are part of the expression and stay as they are.
TEST(LayoutWriteTest, NestedTablesIndentOnlyTheirOwnLines) {
    auto inner = make<LayoutTable>();
    inner->put(0, 0, inTable(view(ElementKind::kResultView, "\"a\nb\" & x")));
    auto outer = make<LayoutTable>();
    outer->put(0, 1, inTable(inner));
    auto layout = make<Layout>();
    auto frame = make<Frame>(outer, FramePlacement::Optimized);
    frame->moveTo(40, 50);
    layout->add(frame);
    layout->add(make<Frame>(view(ElementKind::kTextArea, "top"), FramePlacement::Maximized));
    EXPECT_EQ(layout->toSource()->toStdString(),
              "optimized(40,50) ltable{\n"
              "    lrow{\n"
              "        ;\n"
              "        ltable{\n"
              "            lrow{\n"
              "                result(\"a\nb\" & x);\n"
              "            }\n"
              "        }\n"
              "    }\n"
              "}\n"
              "maximized text(\"top\");\n");
    // What is written reads back to the same layout, element by element.
    auto again = test::readDocument(layout->toSource()->view())->layout();
    EXPECT_TRUE(again->frame(0)->equals(*layout->frame(0)))
        << again->describe()->toStdString() << "\n"
        << layout->describe()->toStdString();
}

TEST(LayoutWriteTest, EscapesAreUndoneByReading) {
    const std::vector<const char*> texts = {
        "",        "plain", "a\nb", "\n\n",      "\"",          "\"\"\"",   "end\"",
        "\"start", "x\\y",  "\\",   "tab\there", "cr\r\nafter", "a\"\nb\"",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        std::string document =
            "maximized " + view(ElementKind::kTextArea, text)->toSource()->toStdString();
        auto read = test::readDocument(document)->layout()->frame(0)->element();
        EXPECT_EQ(cast<ViewElement>(read)->argument()->toStdString(), text);
    }
}

// Kept as stored documents rely on it: a backslash before an "n" that the
// user typed is read as a line feed.
TEST(LayoutWriteTest, ABackslashBeforeNReadsAsALineFeed) {
    EXPECT_EQ(unescapeTextArea(escapeTextArea("a\\nb")), "a\nb");
}

}  // namespace
}  // namespace qv
