// The plain text splitters: MyStringTokenizer at delimiter bytes and
// word_tokenizer into words, blank runs and line feeds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "core/TextTokenizers.h"

namespace qv {
namespace {

using test::text;
using Texts = std::vector<std::string>;

Texts splitAt(const char* input, const char* delimiters) {
    auto tokenizer = make<MyStringTokenizer>(str(input), str(delimiters));
    Texts tokens;
    while (tokenizer->hasMoreTokens()) {
        tokens.push_back(text(tokenizer->nextToken()));
        if (tokens.size() > 100) break;  // a tokenizer that never ends
    }
    EXPECT_TRUE(tokenizer->nextToken().isNull());
    return tokens;
}

TEST(MyStringTokenizer, SplitsAtEveryDelimiter) {
    const struct {
        const char* input;
        const char* delimiters;
        Texts expected;
    } rows[] = {
        {"a\t\tbc", "\n\t", {"a", "", "bc"}},
        {"a/", "/", {"a"}},
        {"a/b/c", "/", {"a", "b", "c"}},
        {"ab/cd/ef", "/", {"ab", "cd", "ef"}},
        {"x", "/", {"x"}},
        {"", "/", {}},
        {"/", "/", {""}},
        {"/a", "/", {"", "a"}},
        {"a//", "/", {"a", ""}},
        {"a\nb\tc", "\t\n", {"a", "b", "c"}},
        {"a b", "", {"a b"}},
        {"Software/Quorvatelle 1.1", "/", {"Software", "Quorvatelle 1.1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input);
        EXPECT_EQ(splitAt(row.input, row.delimiters), row.expected);
    }
}

// A caller pasting cells tells a cell end (tab) from a row end (line feed).
TEST(MyStringTokenizer, RemembersTheDelimiterThatEndedEachToken) {
    auto tokenizer = make<MyStringTokenizer>(str("1\t2\n3\t4"), str("\t\n"));
    const struct {
        const char* token;
        char delimiter;
    } rows[] = {{"1", '\t'}, {"2", '\n'}, {"3", '\t'}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.token);
        EXPECT_EQ(text(tokenizer->nextToken()), row.token);
        EXPECT_EQ(tokenizer->lastDelimiter(), row.delimiter);
    }
    EXPECT_EQ(text(tokenizer->nextToken()), "4");
    EXPECT_FALSE(tokenizer->hasMoreTokens());
}

Texts words(const char* input) {
    auto tokenizer = make<word_tokenizer>(str(input));
    Texts tokens;
    for (auto token = tokenizer->nextToken(); !token.isNull(); token = tokenizer->nextToken()) {
        tokens.push_back(text(token));
        if (tokens.size() > 100) break;  // a tokenizer that never ends
    }
    EXPECT_TRUE(tokenizer->nextToken().isNull());
    return tokens;
}

TEST(WordTokenizer, SplitsWordsBlankRunsAndLineFeeds) {
    const struct {
        const char* input;
        Texts expected;
    } rows[] = {
        {"  ab   \nc", {"  ", "ab ", "  ", "\n", "c"}},
        {"", {}},
        {"word", {"word"}},
        {"one two", {"one ", "two"}},
        {"a\n\nb", {"a", "\n", "\n", "b"}},
        {"a \n", {"a ", "\n"}},
        {"   ", {"   "}},
        {"\n", {"\n"}},
        {"x\ty z", {"x\ty ", "z"}},  // only blanks and line feeds separate words
        {"end ", {"end "}},
        {"\xc3\xa9t\xc3\xa9 ok", {"\xc3\xa9t\xc3\xa9 ", "ok"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input);
        EXPECT_EQ(words(row.input), row.expected);
    }
}

}  // namespace
}  // namespace qv
