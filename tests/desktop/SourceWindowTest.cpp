// The source window's logic wired to a real document flow: the upper
// field's reload (success, a reading error with and without its place),
// the lower field's expression printing, and where the two fields stand.
#include <gtest/gtest.h>

#include <string>

#include "desktop/SourceWindowLogic.h"
#include "tests/desktop/FlowTestSupport.h"

namespace qv {
namespace {

using test::FlowFixture;

// The main panel's side: the document from the host, the reload through the flow.
class PanelSide final : public SourceWindowHost {
  public:
    explicit PanelSide(FlowFixture& f) : m_f(f) {}
    StringPointer documentSource() override { return m_f.host.documentSource(); }
    std::optional<LoadFailure> reloadDocument(const StringPointer& text) override {
        return m_f.flow().reloadFromSource(text);
    }
    Pointer<Kernel> currentKernel() override { return m_f.host.current->kernel(); }

  private:
    FlowFixture& m_f;
};

struct Fields final : SourceWindowFields {
    void setSourceText(std::string_view text) override { source = text; }
    void setMessageText(std::string_view text) override { message = text; }
    std::string source = "(unset)";
    std::string message = "(unset)";
};

struct SourceWindow {
    SourceWindow() { f.start(); }
    FlowFixture f;
    PanelSide panel{f};
    Fields fields;
    SourceWindowLogic logic{panel, fields};
};

TEST(SourceWindow, OpensWithTheProgramAndLayoutText) {
    SourceWindow w;
    w.logic.fill();
    EXPECT_EQ(w.fields.source, "table Table1{\n}\noptimized(40,40) project(Table1);\n");
    EXPECT_EQ(w.fields.message, "(unset)");
}

TEST(SourceWindow, AReloadReplacesTheDocumentWhichThenCountsAsModified) {
    SourceWindow w;
    w.f.host.executeCommand("move");
    w.logic.sourceAction("table Edited{x:=4!}\nmaximized text(\"note\");\n");
    EXPECT_EQ(w.fields.message, "reload succesful");
    EXPECT_EQ(w.f.host.text(), "table Edited{\n    x:=4!\n}\nmaximized text(\"note\");\n//--end");
    EXPECT_TRUE(w.f.flow().isModified());
    EXPECT_TRUE(w.f.host.undoHistory.empty());
    EXPECT_EQ(w.f.window.title(), "Untitled *  - Quorvatelle");
}

TEST(SourceWindow, AFailedReloadKeepsTheDocumentAndSaysWhatAndWhere) {
    struct Case {
        const char* text;
        std::optional<TextPlace> place;
        const char* message;
    };
    const Case cases[] = {
        {"table T{a:=1!} optimized(1) text(\"x\");", std::nullopt,
         "expecting , (line 1, column 27)"},
        {"table T{a:=1!}\nbogus", TextPlace{2, 1},
         "expecting  table,maximized,optimized or floating (line 2, column 1)"},
    };
    for (const Case& c : cases) {
        SourceWindow w;
        w.f.host.placeOfErrors = c.place;
        w.f.host.executeCommand("move");
        std::string before = w.f.host.text();
        w.logic.sourceAction(c.text);
        EXPECT_EQ(w.fields.message, c.message);
        EXPECT_EQ(w.f.host.text(), before);
        EXPECT_EQ(w.f.host.undoHistory.size(), 1u);
    }
}

TEST(SourceWindow, TheMessageLinePrintsAnExpressionAsTheKernelWritesIt) {
    struct Case {
        const char* typed;
        const char* source;   // the upper field afterwards
        const char* message;  // the lower field afterwards
    };
    const Case cases[] = {
        {"1+2*3", "1 + 2 * 3", "(unset)"},
        {"(1+2)*3", "(1 + 2) * 3", "(unset)"},
        {"select * from T where a>1", "select * from T where a > 1", "(unset)"},
        {"sum( x )", "sum(x)", "(unset)"},
        // A text that does not parse leaves the upper field alone.
        {"1 2", "kept", "Invalid formula: unexpected character"},
        {"   ", "kept", "(unset)"},
    };
    for (const Case& c : cases) {
        SourceWindow w;
        w.fields.source = "kept";
        w.logic.messageAction(c.typed);
        EXPECT_EQ(w.fields.source, c.source) << c.typed;
        EXPECT_EQ(w.fields.message, c.message) << c.typed;
    }
}

TEST(SourceWindow, TheFieldsKeepTheirDistancesToTheWindowsEdges) {
    using toolkit::Rect;
    EXPECT_EQ(SourceWindowLayout::kBounds, (Rect{40, 40, 400, 270}));
    EXPECT_EQ(SourceWindowLayout::sourceField({400, 270}), (Rect{10, 10, 380, 160}));
    EXPECT_EQ(SourceWindowLayout::messageField({400, 270}), (Rect{10, 185, 380, 40}));
    EXPECT_EQ(SourceWindowLayout::sourceField({800, 600}), (Rect{10, 10, 780, 490}));
    EXPECT_EQ(SourceWindowLayout::messageField({800, 600}), (Rect{10, 515, 780, 40}));
    // A window too small for the fields gives them no size rather than a negative one.
    EXPECT_EQ(SourceWindowLayout::sourceField({15, 50}), (Rect{10, 10, 0, 0}));
}

}  // namespace
}  // namespace qv
