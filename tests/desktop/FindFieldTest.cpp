// The find panel's fields: the habits of a text field (selection by Shift
// and the arrows, select all, cut, copy and paste, typing over a
// selection), whole characters only, one line, a bounded length, and the
// caret placed by the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/FindField.h"
#include "toolkit/Events.h"

namespace qv {
namespace {

namespace key = toolkit::key;
constexpr std::uint32_t kShift = toolkit::modifier::kShift;

// Ten pixels a character, whatever its bytes.
class EvenMetrics final : public toolkit::FontMetrics {
  public:
    std::int32_t ascent() const override { return 10; }
    std::int32_t descent() const override { return 3; }
    std::int32_t textWidth(std::string_view utf8) const override {
        std::int32_t characters = 0;
        for (char byte : utf8)
            characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
        return characters * 10;
    }
};

struct Press {
    std::int32_t code;
    const char* text = "";
    std::uint32_t modifiers = 0;
};

// A field after a row of keys: its text, caret, selection and what the
// keys put on the clipboard.
std::string after(const char* start, const std::vector<Press>& keys, const char* clipboard = "") {
    FindField field;
    field.setText(start);
    std::string copied;
    for (const Press& press : keys) {
        std::string taken;
        EXPECT_TRUE(field.key(press.code, press.text, press.modifiers, clipboard, &taken));
        if (!taken.empty()) copied = taken;
    }
    auto [begin, end] = field.selection();
    return field.text() + " caret=" + std::to_string(field.caret()) +
           " selection=" + std::to_string(begin) + "-" + std::to_string(end) + " copied=" + copied;
}

TEST(FindField, KeysEditSelectAndUseTheClipboard) {
    struct Case {
        const char* what;
        const char* start;
        std::vector<Press> keys;
        const char* clipboard;
        const char* expected;
    };
    const Case cases[] = {
        {"typing at the end",
         "ab",
         {{key::kCharacter, "c"}},
         "",
         "abc caret=3 selection=3-3 copied="},
        {"Shift+Left twice selects two",
         "abcd",
         {{key::kLeft, "", kShift}, {key::kLeft, "", kShift}},
         "",
         "abcd caret=2 selection=2-4 copied="},
        {"typing replaces the selection",
         "abcd",
         {{key::kLeft, "", kShift}, {key::kLeft, "", kShift}, {key::kCharacter, "X"}},
         "",
         "abX caret=3 selection=3-3 copied="},
        {"Left without Shift ends the selection at its start",
         "abcd",
         {{key::kHome, "", kShift}, {key::kLeft}},
         "",
         "abcd caret=0 selection=0-0 copied="},
        {"Right without Shift ends it at its end",
         "abcd",
         {{key::kSelectAll}, {key::kRight}},
         "",
         "abcd caret=4 selection=4-4 copied="},
        {"Shift+Home selects back to the start",
         "abcd",
         {{key::kLeft}, {key::kHome, "", kShift}},
         "",
         "abcd caret=0 selection=0-3 copied="},
        {"Ctrl+A and Ctrl+C copy the whole text",
         "net",
         {{key::kSelectAll}, {key::kCopy}},
         "",
         "net caret=3 selection=0-3 copied=net"},
        {"Ctrl+X cuts the selection",
         "gross",
         {{key::kLeft, "", kShift}, {key::kLeft, "", kShift}, {key::kCut}},
         "",
         "gro caret=3 selection=3-3 copied=ss"},
        {"Ctrl+C without a selection copies nothing",
         "abc",
         {{key::kCopy}},
         "",
         "abc caret=3 selection=3-3 copied="},
        {"Ctrl+V pastes over the selection, its first line only",
         "old",
         {{key::kSelectAll}, {key::kPaste}},
         "new\nsecond",
         "new caret=3 selection=3-3 copied="},
        {"Backspace removes the selection",
         "abcd",
         {{key::kHome}, {key::kRight, "", kShift}, {key::kRight, "", kShift}, {key::kBackspace}},
         "",
         "cd caret=0 selection=0-0 copied="},
        {"Delete removes the character after the caret",
         "abc",
         {{key::kHome}, {key::kDelete}},
         "",
         "bc caret=0 selection=0-0 copied="},
        {"whole characters: Shift+Left over a two-byte letter",
         "aő",
         {{key::kLeft, "", kShift}, {key::kCopy}},
         "",
         "aő caret=1 selection=1-3 copied=ő"},
        {"Backspace removes a whole character",
         "Ő",
         {{key::kBackspace}},
         "",
         " caret=0 selection=0-0 copied="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(after(c.start, c.keys, c.clipboard), c.expected);
    }
}

TEST(FindField, OtherKeysAreNotTheFields) {
    FindField field;
    for (std::int32_t code : {key::kUp, key::kDown, key::kTab, key::kEnter, key::kEscape})
        EXPECT_FALSE(field.key(code, "", 0, "", nullptr)) << code;
}

TEST(FindField, APasteLongerThanAnyQueryIsCutAtACharacter) {
    FindField field;
    field.setText("a");
    std::string huge;
    for (std::size_t i = 0; i < FindField::kMaxLength; ++i)
        huge += "é";
    field.key(key::kPaste, "", 0, huge, nullptr);
    EXPECT_LE(field.text().size(), FindField::kMaxLength);
    EXPECT_GT(field.text().size(), FindField::kMaxLength - 2);
    // Still whole characters: every é is two bytes after the first a.
    EXPECT_EQ((field.text().size() - 1) % 2, 0u);
}

TEST(FindField, TheMouseFindsCharactersAndWords) {
    EvenMetrics metrics;
    FindField field;
    field.setText("net * gross");
    struct Case {
        std::int32_t x;
        std::int32_t index;
    };
    // Ten pixels a character, a field 200 wide: the whole text shows.
    for (const Case& c : {Case{-5, 0}, Case{4, 0}, Case{6, 1}, Case{31, 3}, Case{500, 11}})
        EXPECT_EQ(field.indexAt(c.x, 200, metrics), c.index) << c.x;
    struct Word {
        std::int32_t at;
        const char* selected;
    };
    for (const Word& w : {Word{1, "net"}, Word{3, "net"}, Word{4, "*"}, Word{8, "gross"}}) {
        field.selectWordAt(w.at);
        EXPECT_EQ(field.selectedText(), w.selected) << w.at;
    }
    // A text wider than the field shows its end, or the caret's place.
    field.setText("abcdefghij");
    EXPECT_EQ(field.firstShown(50, metrics), 5);
    EXPECT_EQ(field.indexAt(12, 50, metrics), 6);
    field.moveTo(2, false);
    EXPECT_EQ(field.firstShown(50, metrics), 2);
}

}  // namespace
}  // namespace qv
