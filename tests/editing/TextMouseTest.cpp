// Caret and selection by the mouse, the word of a double click, and what a
// text area and a frame write into the document.
#include <string>
#include <vector>

#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

const std::string kE = "\xC3\xA9";

class TextMouseTest : public EditingTest {
  protected:
    // The headless font is 8 pixels a character: the point a pixel right of
    // the boundary before character `index` of line `line`.
    toolkit::Point at(const Pointer<AbstractEditable>& text, std::int32_t index,
                      std::int32_t line = 0) {
        const toolkit::Rect& box = text->bounds();
        return {box.x + TextBase::kPadding + 8 * index + 1,
                box.y + TextBase::kPadding + 16 * line + 8};
    }
};

TEST_F(TextMouseTest, PressPutsTheCaretAndDragSelects) {
    auto frame = addText("hello world");
    auto text = cast<TextEditable>(frame->view());
    press(at(text, 2));
    EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(text));
    EXPECT_EQ(text->caret(), 2);
    EXPECT_FALSE(text->hasSelection());
    EXPECT_FALSE(root().isDragArmed());
    dragTo(at(text, 7));
    EXPECT_EQ(text->caret(), 7);
    EXPECT_EQ(text->selectionRange(), (std::pair<std::int32_t, std::int32_t>{2, 7}));
    EXPECT_EQ(text->selectedText(), "llo w");
    releaseAt(at(text, 7));
    EXPECT_TRUE(support().mouseGrab().isNull());
    // Dragging back past the start of the press selects the other way.
    press(at(text, 5));
    dragTo(at(text, 1));
    EXPECT_EQ(text->selectedText(), "ello");
    EXPECT_EQ(text->caret(), 1);
    releaseAt(at(text, 1));
    // Nothing of this is a change of the document.
    EXPECT_EQ(commands().undoCount(), 0);
    EXPECT_TRUE(commands().isClean());
}

TEST_F(TextMouseTest, ShiftPressExtendsAndPressesOutsideTheTextClampToIt) {
    auto frame = addText("ab\ncdef");
    auto text = cast<TextEditable>(frame->view());
    press(at(text, 1));
    press(at(text, 3, 1), toolkit::modifier::kShift);
    EXPECT_EQ(text->selectedText(), "b\ncde");
    press({frame->bounds().right() - 3, at(text, 0, 1).y});  // past the end of line 1
    EXPECT_EQ(text->caret(), 7);
    press({at(text, 1).x, text->bounds().y + 1});  // above the first line's text
    EXPECT_EQ(text->caret(), 1);
}

TEST_F(TextMouseTest, DoubleClickSelectsTheWordUnderThePointer) {
    struct Case {
        std::string text;
        std::int32_t column;  // the character clicked
        std::string word;
    };
    const std::vector<Case> cases = {
        {"hello world", 8, "world"},         {"hello world", 1, "hello"}, {"a + b", 2, "+"},
        {"caf" + kE + " ok", 3, "caf" + kE}, {"x   y", 2, "   "},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text);
        auto frame = addText(row.text);
        auto text = cast<TextEditable>(frame->view());
        doubleClick(at(text, row.column));
        EXPECT_EQ(text->selectedText(), row.word);
        EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(text));
        key(toolkit::key::kCharacter, "Z");
        EXPECT_EQ(text->text().find(row.word), std::string::npos);
    }
}

TEST_F(TextMouseTest, TheCaretNeverLandsInsideACharacter) {
    auto frame = addText("a" + kE + kE + "b");
    auto text = cast<TextEditable>(frame->view());
    const toolkit::Rect& box = text->bounds();
    for (std::int32_t x = box.x; x < box.right(); ++x) {
        press({x, box.y + 8});
        EXPECT_TRUE(utf8::isBoundary(text->text(), text->caret())) << x;
        dragTo({x + 5, box.y + 8});
        EXPECT_TRUE(utf8::isBoundary(text->text(), text->selectionEnd())) << x;
        releaseAt({x + 5, box.y + 8});
    }
}

TEST_F(TextMouseTest, ATextAreaWritesItsEscapedText) {
    struct Case {
        std::string text;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"plain", "text(\"plain\");\n"},
        {"a\nb", "text(\"a\\nb\");\n"},
        {"", "text(\"\");\n"},
        {"say \"hi\"", "text(\"say \"\"hi\"\"\");\n"},
        {"tab\there", "text(\"tab\there\");\n"},
        {"caf" + kE, "text(\"caf" + kE + "\");\n"},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(make<TextEditable>(row.text)->toSource()->toStdString(), row.written);
    }
}

TEST_F(TextMouseTest, ATextAreaIsAsWideAsItsLongestLineAndNoNarrowerThanItsLongestWord) {
    struct Case {
        std::string text;
        std::int32_t minimum;
        std::int32_t maximum;
        std::int32_t firstLine;  // characters
    };
    // 8 pixels a character and 7 for the padding and the caret; at least
    // 50, and a long word asks for at most 400.
    const std::vector<Case> cases = {
        {"", 50, 50, 0},
        {"ab cdefgh\nxy", 6 * 8 + 7, 9 * 8 + 7, 9},
        {"one longwordhere\nshort", 12 * 8 + 7, 16 * 8 + 7, 16},
        {std::string(100, 'w'), 400, 100 * 8 + 7, 100},
        {kE + kE + kE + kE + kE + kE + kE + kE, 8 * 8 + 7, 8 * 8 + 7, 8},
        // Longer in bytes is not wider: the line and the word of seven
        // one-byte letters are wider than those of six letters of two bytes.
        {kE + kE + kE + kE + kE + kE + "\nabcdefg", 7 * 8 + 7, 7 * 8 + 7, 6},
    };
    const std::string typed(40, '7');
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text);
        auto frame = addText(row.text);
        auto& text = static_cast<TextEditable&>(*frame->view());
        EXPECT_EQ(text.minimumWidth(), row.minimum);
        EXPECT_EQ(text.maximumWidth(), row.maximum);
        // Measured again after an edit: the typed word joins the first one.
        support().select(frame->view());
        key(toolkit::key::kHome);
        type(typed);
        EXPECT_EQ(text.maximumWidth(), (40 + row.firstLine) * 8 + 7);
        EXPECT_GE(text.minimumWidth(), 40 * 8 + 7);
    }
}

TEST_F(TextMouseTest, ATextReadFromADocumentWritesBackByteForByte) {
    // A raw carriage return, and "é" in an older single-byte document.
    const std::string read = "a\rb caf\xE9 \xA9";
    auto text = make<TextEditable>(read);
    EXPECT_EQ(text->text(), read);
    EXPECT_EQ(text->toSource()->toStdString(), "text(\"" + read + "\");\n");
    // The caret still steps safely: a stray continuation byte goes with the
    // character before it, a lone lead byte is a character of its own.
    support().select(addFrame(text)->view());
    key(toolkit::key::kEnd);
    key(toolkit::key::kBackspace);
    EXPECT_EQ(text->text(), "a\rb caf\xE9");
    key(toolkit::key::kBackspace);
    EXPECT_EQ(text->text(), "a\rb caf");
    EXPECT_TRUE(utf8::isBoundary(text->text(), text->caret()));
}

TEST_F(TextMouseTest, FramesWriteTheirPlacementPrefixBeforeTheirView) {
    struct Case {
        FramePlacement placement;
        toolkit::Point corner;
        std::string prefix;
    };
    const std::vector<Case> cases = {
        {FramePlacement::Optimized, {10, 20}, "optimized(10,20) "},
        {FramePlacement::Floating, {10, 20}, "floating(10,20) "},
        {FramePlacement::Optimized, {-5, 7}, "optimized(0,7) "},
        {FramePlacement::Floating, {3, -9}, "floating(3,0) "},
        {FramePlacement::InTable, {10, 20}, ""},
    };
    for (const Case& row : cases) {
        auto frame = make<TitleDecorator>(make<TextEditable>("t"));
        frame->setPlacement(row.placement);
        frame->layoutWidth(600);
        frame->moveBy(row.corner);
        EXPECT_EQ(frame->toSource()->toStdString(), row.prefix + "text(\"t\");\n");
    }
    auto maximized = addFrame(make<TextEditable>("m"), FramePlacement::Maximized);
    EXPECT_EQ(maximized->toSource()->toStdString(), "maximized text(\"m\");\n");
}

class Plain final : public AbstractEditable {
    QV_OBJECT(Plain, AbstractEditable, "Plain")
};

TEST_F(TextMouseTest, ANewEditableThatOverridesNothingIsA30By30Square) {
    auto plain = make<Plain>();
    for (std::int32_t hint : {0, 30, 600}) {
        plain->layoutWidth(hint);
        EXPECT_EQ(plain->bounds(), (toolkit::Rect{0, 0, 30, 30}));
    }
    plain->layoutSize({200, 100});
    EXPECT_EQ(plain->bounds(), (toolkit::Rect{0, 0, 30, 30}));
    EXPECT_EQ(plain->getTitle()->toStdString(), "default title");
    EXPECT_EQ(plain->toSource()->toStdString(), "");
    EXPECT_TRUE(detachFrom(*plain, plain).isNull()) << "no views to detach";
    EXPECT_FALSE(isPanelView(*plain));
    EXPECT_EQ(plain->hitTest(10, 10, true), Pointer<AbstractEditable>(plain));
    EXPECT_TRUE(plain->hitTest(30, 10, true).isNull());
}

}  // namespace
}  // namespace qv
