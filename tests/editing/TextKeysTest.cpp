// Every key code of the text editables, one row per case: the text, caret
// and selection before, the key, and the text, caret, selection, clipboard
// and undo steps after. Keys travel through the container panel and the
// layout root to the selected text, as the window sends them.
#include <string>
#include <vector>

#include "core/ValueConversions.h"
#include "editing/TextFieldEditable.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

namespace key = toolkit::key;

struct KeyCase {
    const char* name;
    std::string text;
    std::int32_t caret;
    std::int32_t anchor;  // -1: no selection
    std::int32_t end;
    std::int32_t code;
    std::string typed;
    std::string clipboard;  // before
    std::uint32_t modifiers;
    // After.
    std::string newText;
    std::int32_t newCaret;
    std::int32_t newAnchor;
    std::int32_t newEnd;
    std::string newClipboard;
    std::int32_t steps;  // undo steps recorded
};

// "é" is two bytes and "€" three: caret steps cross them whole.
const std::string kE = "\xC3\xA9";
const std::string kEuro = "\xE2\x82\xAC";

const std::vector<KeyCase> kTextAreaCases = {
    {"left", "abc", 2, -1, -1, key::kLeft, "", "", 0, "abc", 1, -1, -1, "", 0},
    {"left at the start", "abc", 0, -1, -1, key::kLeft, "", "", 0, "abc", 0, -1, -1, "", 0},
    {"left clears the selection", "abc", 2, 0, 2, key::kLeft, "", "", 0, "abc", 1, -1, -1, "", 0},
    {"right", "abc", 1, -1, -1, key::kRight, "", "", 0, "abc", 2, -1, -1, "", 0},
    {"right at the end", "abc", 3, -1, -1, key::kRight, "", "", 0, "abc", 3, -1, -1, "", 0},
    {"shift right selects", "abc", 1, -1, -1, key::kRight, "", "", toolkit::modifier::kShift, "abc",
     2, 1, 2, "", 0},
    {"left over a two-byte character", "a" + kE + "b", 3, -1, -1, key::kLeft, "", "", 0,
     "a" + kE + "b", 1, -1, -1, "", 0},
    {"right over a three-byte character", kEuro + "x", 0, -1, -1, key::kRight, "", "", 0,
     kEuro + "x", 3, -1, -1, "", 0},
    {"delete", "abc", 1, -1, -1, key::kDelete, "", "", 0, "ac", 1, -1, -1, "", 1},
    {"delete at the end", "abc", 3, -1, -1, key::kDelete, "", "", 0, "abc", 3, -1, -1, "", 0},
    {"delete the selection", "abc", 2, 0, 2, key::kDelete, "", "", 0, "c", 0, -1, -1, "", 1},
    {"delete a whole character", "a" + kEuro + "b", 1, -1, -1, key::kDelete, "", "", 0, "ab", 1, -1,
     -1, "", 1},
    {"backspace", "abc", 1, -1, -1, key::kBackspace, "", "", 0, "bc", 0, -1, -1, "", 1},
    {"backspace at the start", "abc", 0, -1, -1, key::kBackspace, "", "", 0, "abc", 0, -1, -1, "",
     0},
    {"backspace the selection", "abcd", 3, 3, 1, key::kBackspace, "", "", 0, "ad", 1, -1, -1, "",
     1},
    {"backspace a whole character", "a" + kE, 3, -1, -1, key::kBackspace, "", "", 0, "a", 1, -1, -1,
     "", 1},
    {"type", "abc", 1, -1, -1, key::kCharacter, "x", "", 0, "axbc", 2, -1, -1, "", 1},
    {"type over the last two", "abc", 3, 1, 3, key::kCharacter, "x", "", 0, "ax", 2, -1, -1, "", 1},
    {"type a multi-byte character", "ab", 1, -1, -1, key::kCharacter, kEuro, "", 0,
     "a" + kEuro + "b", 4, -1, -1, "", 1},
    {"type a malformed byte", "ab", 1, -1, -1, key::kCharacter, "\xFF", "", 0,
     "a\xEF\xBF\xBD"
     "b",
     4, -1, -1, "", 1},
    {"copy", "abc", 2, 0, 2, key::kCopy, "", "old", 0, "abc", 2, 0, 2, "ab", 0},
    {"copy with no selection", "abc", 2, -1, -1, key::kCopy, "", "old", 0, "abc", 2, -1, -1, "old",
     0},
    {"paste", "abc", 1, -1, -1, key::kPaste, "", "XY", 0, "aXYbc", 3, -1, -1, "XY", 1},
    {"paste over the selection", "abc", 0, 0, 2, key::kPaste, "", "Z", 0, "Zc", 1, -1, -1, "Z", 1},
    {"paste an empty clipboard", "abc", 1, -1, -1, key::kPaste, "", "", 0, "abc", 1, -1, -1, "", 0},
    {"paste turns CR LF into LF", "ab", 1, -1, -1, key::kPaste, "", "1\r\n2\r3", 0, "a1\n2\n3b", 6,
     -1, -1, "1\r\n2\r3", 1},
    {"cut", "abc", 3, 1, 3, key::kCut, "", "old", 0, "a", 1, -1, -1, "bc", 1},
    {"cut with no selection", "abc", 1, -1, -1, key::kCut, "", "old", 0, "abc", 1, -1, -1, "old",
     0},
    {"end", "abc", 1, -1, -1, key::kEnd, "", "", 0, "abc", 3, -1, -1, "", 0},
    {"home", "abc", 2, -1, -1, key::kHome, "", "", 0, "abc", 0, -1, -1, "", 0},
    {"select all", "abc", 1, -1, -1, key::kSelectAll, "", "", 0, "abc", 3, 0, 3, "", 0},
    {"up", "ab\ncd", 4, -1, -1, key::kUp, "", "", 0, "ab\ncd", 1, -1, -1, "", 0},
    {"up from the first line", "ab\ncd", 1, -1, -1, key::kUp, "", "", 0, "ab\ncd", 0, -1, -1, "",
     0},
    {"down", "ab\ncd", 1, -1, -1, key::kDown, "", "", 0, "ab\ncd", 4, -1, -1, "", 0},
    {"down to a shorter line", "abcd\nx", 3, -1, -1, key::kDown, "", "", 0, "abcd\nx", 6, -1, -1,
     "", 0},
    {"down from the last line", "ab\ncd", 4, -1, -1, key::kDown, "", "", 0, "ab\ncd", 5, -1, -1, "",
     0},
    {"enter inserts a line feed", "abc", 1, -1, -1, key::kEnter, "", "", 0, "a\nbc", 2, -1, -1, "",
     1},
    {"escape is not a text key", "abc", 1, -1, -1, key::kEscape, "", "", 0, "abc", 1, -1, -1, "",
     0},
};

class TextKeysTest : public EditingTest {
  protected:
    void check(TextBase& text, const KeyCase& row) {
        SCOPED_TRACE(row.name);
        text.setText(row.text);
        text.setCaret(row.caret);
        text.setSelection(row.anchor, row.end);
        window.setClipboardText(row.clipboard);
        std::int32_t before = commands().undoCount();
        key(row.code, row.typed, row.modifiers);
        EXPECT_EQ(text.text(), row.newText);
        EXPECT_EQ(text.caret(), row.newCaret);
        EXPECT_EQ(text.anchor(), row.newAnchor);
        EXPECT_EQ(text.selectionEnd(), row.newEnd);
        EXPECT_EQ(window.clipboardText(), row.newClipboard);
        EXPECT_EQ(commands().undoCount() - before, row.steps);
        EXPECT_TRUE(utf8::isBoundary(text.text(), text.caret()));
        if (row.steps == 1) {
            // One undo restores the text as it was.
            key(key::kUndo);
            EXPECT_EQ(text.text(), row.text);
            key(key::kRedo);
            EXPECT_EQ(text.text(), row.newText);
        }
    }
};

TEST_F(TextKeysTest, EveryKeyOfTheTextArea) {
    auto frame = addText("");
    auto& text = static_cast<TextEditable&>(*frame->view());
    support().select(frame->view());
    for (const KeyCase& row : kTextAreaCases)
        check(text, row);
}

TEST_F(TextKeysTest, TheOneLineFieldKeepsItsLineAndLeavesEnterToItsOwner) {
    auto field = make<TextFieldEditable>();
    addFrame(field);
    support().select(field);
    const std::vector<KeyCase> cases = {
        {"enter is not typed", "abc", 1, -1, -1, key::kEnter, "", "", 0, "abc", 1, -1, -1, "", 0},
        {"up is not a field key", "abc", 1, -1, -1, key::kUp, "", "", 0, "abc", 1, -1, -1, "", 0},
        {"pasted lines become one", "ab", 1, -1, -1, key::kPaste, "", "1\r\n2\n", 0, "a1 2 b", 5,
         -1, -1, "1\r\n2\n", 1},
        {"typed", "ab", 2, -1, -1, key::kCharacter, kE, "", 0, "ab" + kE, 4, -1, -1, "", 1},
        {"backspace", "ab" + kE, 4, -1, -1, key::kBackspace, "", "", 0, "ab", 2, -1, -1, "", 1},
        {"home", "abc", 2, -1, -1, key::kHome, "", "", 0, "abc", 0, -1, -1, "", 0},
    };
    for (const KeyCase& row : cases)
        check(*field, row);
}

TEST_F(TextKeysTest, TypingThreeAndUndoingThreeTimesRestoresTheEmptyText) {
    auto frame = addText("");
    auto& text = static_cast<TextEditable&>(*frame->view());
    support().select(frame->view());
    type("a" + kE + "c");
    EXPECT_EQ(text.text(), "a" + kE + "c");
    EXPECT_EQ(text.caret(), 4);
    const std::vector<std::pair<std::string, std::int32_t>> afterUndo = {
        {"a" + kE, 3}, {"a", 1}, {"", 0}};
    for (const auto& [content, caret] : afterUndo) {
        key(key::kUndo);
        EXPECT_EQ(text.text(), content);
        EXPECT_EQ(text.caret(), caret);
    }
    EXPECT_EQ(commands().redoCount(), 3);
    key(key::kRedo);
    EXPECT_EQ(text.text(), "a");
    EXPECT_EQ(text.caret(), 1);
    EXPECT_FALSE(commands().isClean());
}

TEST_F(TextKeysTest, UndoAfterTheTextWasReplacedOutsideTheHistoryStaysInside) {
    auto frame = addText("");
    auto& text = static_cast<TextEditable&>(*frame->view());
    support().select(frame->view());
    type("hello " + kEuro);
    // The text is replaced without a command (as a field shows a cell's
    // formula): the commands now name ranges beyond it or inside a character.
    text.setText(kE);
    for (int i = 0; i < 7; ++i) {
        key(key::kUndo);
        EXPECT_TRUE(utf8::isBoundary(text.text(), text.caret()));
    }
    for (int i = 0; i < 7; ++i)
        key(key::kRedo);
    EXPECT_EQ(utf8::sanitized(text.text()), text.text());
    EXPECT_LE(text.caret(), static_cast<std::int32_t>(text.text().size()));
}

TEST_F(TextKeysTest, APasteBeyondTheTextLimitIsRefusedWithANotice) {
    auto frame = addText("");
    auto& text = static_cast<TextEditable&>(*frame->view());
    support().select(frame->view());
    text.setText(std::string(kMaxTextBytes - 1, 'x'));
    window.setClipboardText("yz");
    key(key::kPaste);
    EXPECT_EQ(text.text().size(), kMaxTextBytes - 1);
    EXPECT_EQ(commands().undoCount(), 0);
    ASSERT_EQ(window.dialogs().size(), 1u);
    EXPECT_EQ(window.dialogs()[0].rfind("notice: text too long", 0), 0u) << window.dialogs()[0];
    key(key::kCharacter, "y");  // one more byte still fits
    EXPECT_EQ(text.text().size(), kMaxTextBytes);
}

}  // namespace
}  // namespace qv
