// Documents read through the desktop's view factory into live editables
// and written from them give the same text as the headless reader and
// writer (`qvl fmt`): every example, and layouts with every kind of
// element, placement and kept comment. A paint in between changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ProjectEditable.h"
#include "views/PropertiesEditable.h"
#include "views/ResultEditable.h"
#include "views/TableChartView.h"

namespace qv {
namespace {

// What the desktop writes for a document it opened, after it was painted.
std::string writtenByDesktop(const std::string& text) {
    test::PanelFixture f;
    f.startOn("document.qvl", text);
    EXPECT_TRUE(f.window.dialogs().empty()) << f.lastDialog();
    f.window.paint();
    return f.panel->toSource()->toStdString() + std::string(Document::kEndMark);
}

std::string writtenByQvl(const std::string& text) {
    return Document::read(str(text))->toSource()->toStdString();
}

TEST(DesktopRoundTrip, EveryExampleWritesAsQvlFmtWritesIt) {
    std::filesystem::path examples = std::filesystem::path(QV_SOURCE_DIR) / "examples";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() != ".qvl") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++seen;
        std::string text = fromDiskLineEnds(test::fileBytes(entry.path().string()));
        std::string written = writtenByDesktop(text);
        EXPECT_EQ(written, writtenByQvl(text));
        EXPECT_EQ(writtenByDesktop(written), written);
    }
    EXPECT_EQ(seen, 6);
}

TEST(DesktopRoundTrip, EveryElementPlacementAndCommentComesBack) {
    const char* const cases[] = {
        // Placements: floating reads back as optimized.
        "table T{a:=1!} maximized result(T); optimized(5,7) text(\"a\"); floating(10,20) "
        "chart(T);",
        // Texts with line feeds, quotes and a raw carriage return.
        "optimized(1,2) text(\"two\\nlines\"); optimized(3,4) text(\"say \"\"hi\"\"\");"
        " optimized(5,6) text(\"cr\rhere\");",
        // The directives of views still to come keep their texts as written.
        "table [My table]{x:=2!} optimized(0,0) chart([My table]); optimized(9,9) "
        "result(T.a + sum( 1 , 2 )); maximized properties(); optimized(4,4) project(tables);",
        // Layout tables: empty cells, rows of different lengths, nesting.
        "optimized(40,40) ltable{ lrow{ ; text(\"b\"); } lrow{ ltable{ lrow{ text(\"in\"); } } } "
        "lrow{ } }",
        // Comments before a directive, inside it, on its line, inside a
        // layout table and at the end.
        "// the view\nmaximized result(T /* in */ + 1 /* after */); // on the line\n"
        "optimized(1,2) ltable{ lrow{\n  // first cell\n  text(\"a\"); // on a\n  ;\n  "
        "properties(); } // after\n}\n// at the end\n//--end",
        // Nothing at all.
        "",
        "// only a comment\n",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        std::string written = writtenByDesktop(text);
        EXPECT_EQ(written, writtenByQvl(text));
        EXPECT_EQ(writtenByDesktop(written), written);
    }
}

// Each directive is read into its own view, titled as the view it is.
TEST(DesktopRoundTrip, EachDirectiveBuildsItsView) {
    struct Case {
        const char* directive;
        const char* title;
        TypeId kind;
    };
    const Case cases[] = {
        {"result(T[0]);", "T[0]", ResultEditable::typeId()},
        {"chart(T);", "T chart view", TableChartView::typeId()},
        {"project(T);", "project  - T", ProjectEditable::typeId()},
        {"properties();", "Document properties", PropertiesEditable::typeId()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directive);
        test::PanelFixture f;
        f.startOn("view.qvl", std::string("table T{a:=1!} optimized(10,10) ") + c.directive);
        ASSERT_EQ(f.root().frameCount(), 1);
        EXPECT_EQ(f.frame(0)->getTitle()->toStdString(), c.title);
        EXPECT_TRUE(f.frame(0)->view()->isInstanceOf(c.kind));
        std::vector<std::string> texts = f.window.paint().texts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), c.title), texts.end());
    }
}

}  // namespace
}  // namespace qv
