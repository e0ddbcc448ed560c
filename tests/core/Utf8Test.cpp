// Decoding one character, stepping through UTF-8 by whole characters,
// cleaning outside text, and the word a double click selects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Utf8.h"

namespace qv {
namespace {

// "aé€😀b": a is 1 byte, é 2, € 3, 😀 4, b 1; boundaries 0 1 3 6 10 11.
const std::string kMixed =
    "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"
    "b";

TEST(Utf8Test, StepsVisitEveryCharacterStartAndNothingElse) {
    const std::vector<std::int32_t> starts = {0, 1, 3, 6, 10, 11};
    std::vector<std::int32_t> forward{0};
    for (std::int32_t at = 0; at < 11;)
        forward.push_back(at = utf8::next(kMixed, at));
    EXPECT_EQ(forward, starts);
    std::vector<std::int32_t> backward{11};
    for (std::int32_t at = 11; at > 0;)
        backward.insert(backward.begin(), at = utf8::previous(kMixed, at));
    EXPECT_EQ(backward, starts);
    for (std::int32_t at = 0; at <= 11; ++at) {
        bool start = std::find(starts.begin(), starts.end(), at) != starts.end();
        EXPECT_EQ(utf8::isBoundary(kMixed, at), start) << at;
    }
}

TEST(Utf8Test, SnapMovesIntoTheTextAndBackToTheCharacterStart) {
    const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
        {-5, 0}, {0, 0}, {2, 1}, {4, 3}, {5, 3}, {7, 6}, {9, 6}, {10, 10}, {11, 11}, {99, 11}};
    for (auto [in, out] : cases)
        EXPECT_EQ(utf8::snap(kMixed, in), out) << in;
    EXPECT_EQ(utf8::next(kMixed, 11), 11);
    EXPECT_EQ(utf8::previous(kMixed, 0), 0);
}

TEST(Utf8Test, DecodeTakesWellFormedCharactersOnly) {
    struct Case {
        std::string text;
        char32_t codePoint;
        std::size_t length;
    };
    const std::vector<Case> cases = {
        {"a", U'a', 1},
        {std::string("\0x", 2), 0, 1},
        {"\xC3\xA9x", 0xE9, 2},
        {"\xE2\x82\xAC", 0x20AC, 3},
        {"\xF0\x9F\x98\x80", 0x1F600, 4},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},  // the last code point
        {"\x80", 0, 0},                     // lone continuation
        {"\xC0\xAF", 0, 0},                 // overlong form
        {"\xE0\x80\xAF", 0, 0},             // overlong form of three bytes
        {"\xED\xA0\x80", 0, 0},             // surrogate
        {"\xF4\x90\x80\x80", 0, 0},         // past U+10FFFF
        {"\xE2\x82", 0, 0},                 // cut short
        {"\xE2x\xAC", 0, 0},                // continuation missing
        {"\xFF", 0, 0},
    };
    for (const Case& row : cases) {
        utf8::Decoded decoded = utf8::decode(row.text);
        EXPECT_EQ(decoded.length, row.length) << row.text;
        EXPECT_EQ(decoded.codePoint, row.codePoint) << row.text;
    }
}

TEST(Utf8Test, SanitizedReplacesMalformedSequencesAndDropsNul) {
    struct Case {
        std::string in;
        std::string out;
    };
    const std::string replacement = "\xEF\xBF\xBD";
    const std::vector<Case> cases = {
        {"plain", "plain"},
        {kMixed, kMixed},
        {std::string("a\0b", 3), "ab"},
        {"\xC3", replacement},                                      // cut short at the end
        {"\xC3x", replacement + "x"},                               // continuation missing
        {"\x80", replacement},                                      // lone continuation
        {"\xC0\xAF", replacement + replacement},                    // overlong form
        {"\xED\xA0\x80", replacement + replacement + replacement},  // surrogate
        {"\xF4\x90\x80\x80",
         replacement + replacement + replacement + replacement},  // past U+10FFFF
        {"\xFF", replacement},
    };
    for (const Case& row : cases)
        EXPECT_EQ(utf8::sanitized(row.in), row.out) << row.in;
}

TEST(Utf8Test, WordAtTakesARunOfOneKind) {
    struct Case {
        std::string text;
        std::int32_t at;
        std::int32_t begin;
        std::int32_t end;
    };
    const std::vector<Case> cases = {
        {"hello world", 2, 0, 5},
        {"hello world", 5, 5, 6},  // the blank between
        {"hello world", 8, 6, 11},
        {"a+b", 1, 1, 2},             // punctuation alone
        {"x_1 y", 0, 0, 3},           // underscore and digits are word characters
        {"caf\xC3\xA9 au", 2, 0, 5},  // é belongs to the word
        {"caf\xC3\xA9 au", 4, 0, 5},  // from inside é: snapped back
        {"ab\ncd", 2, 2, 2},          // a line feed selects nothing
        {"ab\ncd", 3, 3, 5},
        {"ab", 2, 2, 2},  // the end
        {"  x", 0, 0, 2},
    };
    for (const Case& row : cases) {
        auto [begin, end] = utf8::wordAt(row.text, row.at);
        EXPECT_EQ(begin, row.begin) << row.text << " @" << row.at;
        EXPECT_EQ(end, row.end) << row.text << " @" << row.at;
    }
}

}  // namespace
}  // namespace qv
