// Case folding for find: ASCII and the Latin letters fold to lower case,
// every fold keeps the text's length, what has no pair of the same length
// stays, and a text with nothing to fold is not copied.
#include <gtest/gtest.h>

#include <string>

#include "core/CaseFold.h"

namespace qv {
namespace {

TEST(CaseFold, FoldsTheLatinLettersKeepingTheLength) {
    struct Case {
        const char* text;
        const char* folded;  // nullptr: nothing to fold
    };
    const Case cases[] = {
        {"Rate", "rate"},
        {"ÄÖÜ äöü ß", "äöü äöü ß"},
        {"ÀÞ", "àþ"},            // the ends of the Latin-1 capitals
        {"× ÷", nullptr},        // signs
        {"ĀĂĄ ĆČĎ", "āăą ćčď"},  // pairs from an even point
        {"ĹĽŁŃŇ", "ĺľłńň"},      // pairs from an odd point
        {"ŊŐŒŠŶ", "ŋőœšŷ"},
        {"ŸŹŻŽ", "ÿźżž"},    // Ÿ pairs with ÿ of Latin-1
        {"İıĸŉſ", nullptr},  // no pair of the same length
        {"1.25e6 nan inf", nullptr},
        {"\xC5", nullptr},      // a lead byte at the end
        {"\xC5Z", "\xC5z"},     // a lead byte without its second
        {"\x90\x90", nullptr},  // continuation bytes alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string out = "untouched";
        bool changed = foldCase(c.text, out);
        EXPECT_EQ(changed, c.folded != nullptr);
        EXPECT_EQ(out, c.folded != nullptr ? c.folded : "untouched");
        EXPECT_EQ(foldedCase(c.text), c.folded != nullptr ? c.folded : c.text);
        EXPECT_EQ(foldedCase(c.text).size(), std::string(c.text).size());
    }
    // A pattern's ASCII letters stay: their case can mean something.
    EXPECT_EQ(foldedBeyondAscii("\\D ÉÖ"), "\\D éö");
}

TEST(CaseFold, TellsTheBytesOfWords) {
    const std::string text = "a_1 é×ł.€";
    // a _ 1 ' ' é é × × ł ł . € € €
    const bool word[] = {true,  true, true, false, true,  true,  false,
                         false, true, true, false, false, false, false};
    ASSERT_EQ(text.size(), sizeof word);
    for (std::size_t at = 0; at < text.size(); ++at)
        EXPECT_EQ(isWordByteAt(text, at), word[at]) << at;
    EXPECT_FALSE(isWordByteAt(text, text.size()));
}

}  // namespace
}  // namespace qv
