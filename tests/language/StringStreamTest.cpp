// The composite readers the parsers share (expect, identifiers, numbers,
// raw text), backtracking with marks, and source capture between marks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/String.h"
#include "language/StringStream.h"
#include "language/Token.h"

namespace qv {
namespace {

// What a reader returned, then "|" and the rest of the stream as its next
// token's code; or "!" and the message thrown.
struct ReaderCase {
    std::string source;
    std::function<std::string(StringStream&)> read;
    std::string expected;
};

std::string run(const ReaderCase& c) {
    StringStream stream(str(c.source));
    try {
        std::string result = c.read(stream);
        return result + "|" + std::to_string(stream.next()->code());
    } catch (const StringPointer& message) {
        return "!" + message->toStdString();
    }
}

std::string identifier(StringStream& s) {
    return s.readIdentifier()->toStdString();
}
std::string number(StringStream& s) {
    return std::to_string(s.readNumber());
}
std::string angle(StringStream& s) {
    return std::to_string(s.readAngleNumber());
}
std::string closeParen(StringStream& s) {
    return s.expect(kCloseParen, ")"), "ok";
}
std::string defineSign(StringStream& s) {
    return s.expect(kDefine, ":="), "ok";
}
std::string tableWord(StringStream& s) {
    return s.expectWord("table"), "ok";
}
std::string rawToSemicolon(StringStream& s) {
    return s.readRawUntil(';')->toStdString();
}
std::string rawAfterPeek(StringStream& s) {
    s.peek();
    return s.readRawUntil(';')->toStdString();
}
std::string rawAfterNext(StringStream& s) {
    s.next();
    return s.readRawUntil(';')->toStdString();
}

TEST(StringStream, Readers) {
    const std::vector<ReaderCase> cases = {
        {") x", closeParen, "ok|33"},
        {"]", closeParen, "!expecting )"},
        {"", closeParen, "!expecting )"},
        {":=", defineSign, "ok|6"},
        {": =", defineSign, "!expecting :="},
        {"table t", tableWord, "ok|33"},
        {"tables", tableWord, "!expecting table"},
        {"Table", tableWord, "!expecting table"},
        {"\"table\"", tableWord, "!expecting table"},
        {"price", identifier, "price|6"},
        {"[ unit  price ] x", identifier, "unit  price|33"},
        {"[a+b*c, \"d\"]", identifier, "a+b*c, \"d\"|6"},
        {"[]", identifier, "|6"},
        {"[ open", identifier, "open|6"},
        {"1", identifier, "!expecting identifier"},
        {"if", identifier, "!expecting identifier"},
        {"\"name\"", identifier, "!expecting identifier"},
        {"", identifier, "!expecting identifier"},
        {"42 x", number, "42|33"},
        {"4.7", number, "4|6"},
        {"1e20", number, "2147483647|6"},
        {"\"4\"", number, "!expecting number"},
        {"x", number, "!expecting number"},
        {"-1", number, "!expecting number"},
        {"<3>", angle, "3|6"},
        {" < 12 > x", angle, "12|33"},
        {"3>", angle, "!expecting <"},
        {"<x>", angle, "!expecting number"},
        {"<3", angle, "!expecting >"},
        {"<3 >=", angle, "!expecting >"},
        {"abc;def", rawToSemicolon, "abc|33"},
        {"a \"b;\" c", rawToSemicolon, "a \"b|34"},
        {"no end", rawToSemicolon, "no end|6"},
        {"", rawToSemicolon, "|6"},
        {"x ab;y", rawAfterNext, " ab|33"},
        {"x ab;y", rawAfterPeek, "!can not read suffixed stream "},
        // Lexical errors surface through every reader.
        {"$", identifier, "!invalid char"},
        {"<1..2>", angle, "!invalid number"},
    };
    for (const ReaderCase& c : cases)
        EXPECT_EQ(run(c), c.expected) << c.source;
}

std::string nextWord(StringStream& stream) {
    return stream.next()->text()->toStdString();
}

TEST(StringStream, NestedMarksReReadTheSameTokens) {
    StringStream stream(str("a b c d"));
    Pointer<StreamPosition> start = stream.mark();
    EXPECT_EQ(nextWord(stream), "a");
    Pointer<StreamPosition> afterA = stream.mark();
    EXPECT_EQ(nextWord(stream), "b");
    EXPECT_EQ(stream.peek()->text()->toStdString(), "c");
    // A mark taken with a token in lookahead restores that lookahead.
    Pointer<StreamPosition> atC = stream.mark();
    EXPECT_EQ(nextWord(stream), "c");
    EXPECT_EQ(nextWord(stream), "d");
    stream.reset(atC);
    EXPECT_TRUE(stream.hasLookahead());
    EXPECT_EQ(nextWord(stream), "c");
    EXPECT_EQ(nextWord(stream), "d");
    stream.reset(afterA);
    EXPECT_FALSE(stream.hasLookahead());
    EXPECT_EQ(nextWord(stream), "b");
    stream.reset(start);
    EXPECT_EQ(nextWord(stream), "a");
    EXPECT_EQ(stream.next()->position(), 1);
}

TEST(StringStream, ResetRecoversFromALexicalError) {
    StringStream stream(str("a $ b"));
    Pointer<StreamPosition> start = stream.mark();
    EXPECT_EQ(nextWord(stream), "a");
    EXPECT_THROW(stream.next(), StringPointer);
    stream.reset(start);
    EXPECT_EQ(nextWord(stream), "a");
}

// How the document reader keeps the text of an expression: a mark before
// it, a mark with the token after it in lookahead.
TEST(StringStream, SourceBetweenMarks) {
    StringStream stream(str("x := a + b ; y"));
    stream.next();
    stream.next();
    Pointer<StreamPosition> from = stream.mark();
    for (int i = 0; i < 3; ++i)
        stream.next();
    EXPECT_EQ(stream.peek()->code(), kSemicolon);
    Pointer<StreamPosition> to = stream.mark();
    EXPECT_EQ(stream.sourceBetween(from, to)->toStdString(), " a + b");
    EXPECT_EQ(stream.sourceBetween(to, from)->toStdString(), "");
}

TEST(StringStream, SourceBetweenStaysInsideTheText) {
    StringStream stream(str("abc"));
    Pointer<StreamPosition> start = stream.mark();
    for (int i = 0; i < 4; ++i)
        stream.next();  // three ends of input past the text
    Pointer<StreamPosition> pastEnd = stream.mark();
    EXPECT_GT(pastEnd->position, 3);
    EXPECT_EQ(stream.sourceBetween(start, pastEnd)->toStdString(), "abc");
    auto wild = [](std::int32_t at) { return make<StreamPosition>(Pointer<Token>(), at, at); };
    EXPECT_EQ(stream.sourceBetween(wild(-5), wild(2))->toStdString(), "ab");
    EXPECT_EQ(stream.sourceBetween(wild(1), wild(1000))->toStdString(), "bc");
    EXPECT_EQ(stream.sourceBetween(wild(1000), wild(-1000))->toStdString(), "");
    // Resetting to such positions reads the end, or the text from its start.
    stream.reset(wild(1000));
    EXPECT_EQ(stream.next()->code(), kEnd);
    stream.reset(wild(-7));
    EXPECT_EQ(nextWord(stream), "abc");
}

TEST(StringStream, RawReadPastTheEndStaysThere) {
    StringStream stream(str("a"));
    stream.next();
    stream.next();
    std::int32_t position = stream.position();
    EXPECT_EQ(stream.readRawUntil(']')->toStdString(), "");
    EXPECT_EQ(stream.position(), position);
    EXPECT_EQ(stream.next()->code(), kEnd);
}

}  // namespace
}  // namespace qv
