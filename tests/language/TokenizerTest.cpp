// The lexical rules of the formula language: which tokens a text yields,
// where they sit, and which texts are rejected with which message.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/Number.h"
#include "core/String.h"
#include "language/StringStream.h"
#include "language/Token.h"

namespace qv {
namespace {

std::string symbolOf(std::int32_t code) {
    static const char* const kSymbols[] = {
        "&", "?1",  "(",   ")",  "[",    "]",    "end", ",",  ".",   ":=", ":",    "?11", "?12",
        "{", "}",   "?15", ";",  "!",    "+",    "-",   "*",  "/",   "<",  "<=",   ">",   ">=",
        "=", "and", "or",  "if", "then", "else", "not", "id", "lit", "?",  "hash", "@"};
    if (code < 0 || code > kAt) return "?code" + std::to_string(code);
    return kSymbols[code];
}

// "id(x)", "num(0.5)", "str(text)", "hash(text)", or the symbol of the code.
std::string render(const Token& token) {
    if (token.isNumber()) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%g", cast<Number>(token.value())->doubleValue());
        return "num(" + std::string(buffer) + ")";
    }
    std::string text;
    switch (token.code()) {
        case kIdentifier:
            text = "id(";
            break;
        case kLiteral:
            text = "str(";
            break;
        case kHashText:
            text = "hash(";
            break;
        default:
            return symbolOf(token.code());
    }
    for (char ch : token.text()->view())
        text += ch == '\0' ? std::string("\\0") : std::string(1, ch);
    return text + ")";
}

// Every token up to the end of input, blank-separated; a thrown message
// ends the list as "!message".
std::string tokensOf(std::string_view source, bool withPositions = false) {
    StringStream stream(str(source));
    std::string out;
    for (int count = 0; count < 100; ++count) {
        if (!out.empty()) out += ' ';
        try {
            Pointer<Token> token = stream.next();
            out += render(*token);
            if (withPositions) out += "@" + std::to_string(token->position());
            if (token->code() == kEnd) return out;
        } catch (const StringPointer& message) {
            return out + "!" + message->toStdString();
        }
    }
    return out + "...";
}

struct LexCase {
    std::string source;
    std::string expected;
};

TEST(Tokenizer, TokensOfTexts) {
    const std::vector<LexCase> cases = {
        {"", "end"},
        {" \t\r\n ", "end"},
        {"a.5", "id(a) num(0.5) end"},
        {"a.b", "id(a) . id(b) end"},
        {"a..b", "id(a) . . id(b) end"},
        {".5", "num(0.5) end"},
        {"5.", "num(5) end"},
        {"3.x", "num(3) id(x) end"},
        {"1e+3", "num(1000) end"},
        {"25E-2", "num(0.25) end"},
        {"2e5.5", "num(200000) num(0.5) end"},
        {"1a", "num(1) id(a) end"},
        {"1..2", "!invalid number"},
        {"3e", "!invalid number"},
        {"3e+", "!invalid number"},
        {"1.2.3", "!invalid number"},
        {"2else", "!invalid number"},
        {"IF And NOT", "id(IF) id(And) id(NOT) end"},
        {"if then else and or not", "if then else and or not end"},
        {"iff andy _or", "id(iff) id(andy) id(_or) end"},
        {"_a1 ~b x_2~", "id(_a1) id(~b) id(x_2~) end"},
        {"x/*a*/y", "id(x) id(y) end"},
        {"x/* multi\n * line */y", "id(x) id(y) end"},
        {"x/*/y*/z", "id(x) id(z) end"},
        {"x// note\ny", "id(x) id(y) end"},
        {"x/y", "id(x) / id(y) end"},
        {"x/", "id(x) / end"},
        {"x /* open", "id(x) !unterminated comment"},
        {"x /* a */ y /* b", "id(x) id(y) !unterminated comment"},
        {"x /* a /* b", "id(x) !unterminated comment"},
        {"/*/", "!unterminated comment"},
        {"x // open", "id(x) end"},
        {"\"a#b\"", "str(a#b) end"},
        {"\"\"", "str() end"},
        {"\"if // x\"", "str(if // x) end"},
        {"\"open", "str(open) end"},
        {"#x := 1 + y#", "hash(x := 1 + y) end"},
        {"#a \"b\" c", "hash(a \"b\" c) end"},
        {"##", "hash() end"},
        {"a>=b", "id(a) >= id(b) end"},
        {"a<=b", "id(a) <= id(b) end"},
        {"a<>b", "id(a) < > id(b) end"},
        {"a:b", "id(a) : id(b) end"},
        {"a:=b", "id(a) := id(b) end"},
        {"a: =b", "id(a) : = id(b) end"},
        {"a!=b", "id(a) ! = id(b) end"},
        {"&()[],{};!+-*=?@", "& ( ) [ ] , { } ; ! + - * = ? @ end"},
        {"t<1>.f", "id(t) < num(1) > . id(f) end"},
        {"a $", "id(a) !invalid char"},
        {"%", "!invalid char"},
        {"^", "!invalid char"},
        {"|", "!invalid char"},
        {"\\", "!invalid char"},
        {"'", "!invalid char"},
        {"`", "!invalid char"},
        {"\x01", "!invalid char"},
        {"\v", "!invalid char"},
        {"\f", "!invalid char"},
        {"\x7f", "!invalid char"},
        {"\x80", "!invalid char"},
        {"caf\xc3\xa9", "id(caf) !invalid char"},
        {"\xff", "!invalid char"},
        // An embedded NUL byte is not the end of the text.
        {std::string("a\0b", 3), "id(a) !invalid char"},
        {std::string("\"a\0b\" c", 7), "str(a\\0b) id(c) end"},
        {std::string("x//\0\ny", 6), "id(x) id(y) end"},
        // A line comment ends at a lone CR as at LF or CR LF.
        {"x// note\ry", "id(x) id(y) end"},
        {"x// note\r\ny", "id(x) id(y) end"},
        {"// a\r// b\rz", "id(z) end"},
        // A byte-order mark is skipped at the start of the text only.
        {std::string("\xEF\xBB\xBF") + "a", "id(a) end"},
        {"\xEF\xBB\xBF", "end"},
        {"a\xEF\xBB\xBF", "id(a) !invalid char"},
        {"\xEF\xBB", "!invalid char"},
    };
    for (const LexCase& c : cases)
        EXPECT_EQ(tokensOf(c.source), c.expected) << c.source;
}

TEST(Tokenizer, TokenPositions) {
    const std::vector<LexCase> cases = {
        {"", "end@0"},
        {"a b", "id(a)@0 id(b)@1 end@3"},
        {"  x /* c */ y", "id(x)@0 id(y)@3 end@13"},
        {"x // c\ny ", "id(x)@0 id(y)@1 end@8"},
        {"a #h := 1# b", "id(a)@0 hash(h := 1)@10 id(b)@10 end@12"},
        {"#a#b", "hash(a)@3 id(b)@3 end@4"},
        {"#open", "hash(open)@5 end@5"},
        {"\"ab", "str(ab)@0 end@3"},
        {"x /* shut */", "id(x)@0 end@1"},
        {"a>=b", "id(a)@0 >=@1 id(b)@3 end@4"},
        {"a< =b", "id(a)@0 <@1 =@2 id(b)@4 end@5"},
        {"x/y", "id(x)@0 /@1 id(y)@2 end@3"},
        {"f(1.5e2, \"s\")", "id(f)@0 (@1 num(150)@2 ,@7 str(s)@8 )@12 end@13"},
    };
    for (const LexCase& c : cases)
        EXPECT_EQ(tokensOf(c.source, true), c.expected) << c.source;
}

TEST(Tokenizer, EndOfInputRepeatsOneStepLater) {
    StringStream stream(str("a"));
    EXPECT_EQ(stream.next()->code(), kIdentifier);
    for (std::int32_t position = 1; position <= 4; ++position) {
        Pointer<Token> token = stream.next();
        EXPECT_EQ(token->code(), kEnd);
        EXPECT_EQ(token->position(), position);
    }
}

TEST(Tokenizer, NullSourceReadsAsEmpty) {
    StringStream stream{StringPointer()};
    EXPECT_EQ(stream.next()->code(), kEnd);
}

// Every printed operator reads back as the same operator.
TEST(Tokenizer, OperatorTextReadsBackAsItsCode) {
    int operators = 0;
    for (std::int32_t code = -1; code <= kAt + 1; ++code) {
        std::string_view text = operatorText(code);
        if (text.empty()) continue;
        ++operators;
        StringStream stream(str(text));
        EXPECT_EQ(stream.next()->code(), code) << text;
        EXPECT_EQ(stream.next()->code(), kEnd) << text;
    }
    EXPECT_EQ(operators, 14);
    EXPECT_EQ(operatorText(kIdentifier), "");
}

TEST(Tokenizer, TokenTests) {
    StringStream stream(str("name \"name\" 7 if Name"));
    Pointer<Token> word = stream.next();
    Pointer<Token> string = stream.next();
    Pointer<Token> number = stream.next();
    Pointer<Token> keyword = stream.next();
    Pointer<Token> capital = stream.next();
    EXPECT_TRUE(word->isWord("name"));
    EXPECT_FALSE(capital->isWord("name"));
    EXPECT_FALSE(string->isWord("name"));
    EXPECT_FALSE(keyword->isWord("if"));
    EXPECT_TRUE(string->isString());
    EXPECT_FALSE(string->isNumber());
    EXPECT_TRUE(number->isNumber());
    EXPECT_FALSE(number->isString());
    EXPECT_FALSE(word->isString());
    EXPECT_TRUE(is<String>(keyword->value()));
    EXPECT_EQ(cast<String>(keyword->value())->length(), 0);
    // A word and a text literal of the same letters, each where it began.
    EXPECT_EQ(word->code(), kIdentifier);
    EXPECT_EQ(string->code(), kLiteral);
    EXPECT_EQ(word->value()->toString()->toStdString(), "name");
    EXPECT_EQ(string->value()->toString()->toStdString(), "name");
    EXPECT_EQ(word->position(), 0);
    EXPECT_EQ(string->position(), 4);
}

// Arbitrary bytes never crash the tokenizer; every token lies inside the
// text, tokens never move backwards, and the input always ends.
TEST(Tokenizer, ArbitraryBytesStayInsideTheText) {
    const std::string alphabet = std::string("ab1.eE+-/*#\":=<> \n\x80[]$") + '\0';
    std::uint32_t seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string source;
        seed = seed * 1103515245 + 12345;
        std::size_t length = (seed >> 16) % 24;
        for (std::size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245 + 12345;
            source += alphabet[(seed >> 16) % alphabet.size()];
        }
        StringStream stream(str(source));
        std::int32_t previous = 0;
        for (std::size_t count = 0;; ++count) {
            ASSERT_LE(count, source.size()) << source;
            try {
                Pointer<Token> token = stream.next();
                EXPECT_GE(token->position(), previous) << source;
                EXPECT_LE(token->position(), static_cast<std::int32_t>(source.size())) << source;
                previous = token->position();
                if (token->code() == kEnd) break;
            } catch (const StringPointer& message) {
                EXPECT_TRUE(message->equals("invalid char") || message->equals("invalid number") ||
                            message->equals("unterminated comment"))
                    << source;
                break;
            }
        }
    }
}

// Where tokens begin (after the blanks and comments before them), which
// comments were skipped, once each however often a mark made the stream read
// them again, and the line and column of each token.
TEST(Tokenizer, TokenBeginsCommentsAndPlaces) {
    const std::vector<LexCase> cases = {
        {"a b", "a@0=1:1 b@2=1:3 end@3=1:4"},
        {"  x /* c */ y", "x@2=1:3 y@12=1:13 end@13=1:14 /*[4,11)"},
        {"x // c\ny", "x@0=1:1 y@7=2:1 end@8=2:2 //[2,6)"},
        {"x\r\n\ry\r\n", "x@0=1:1 y@4=3:1 end@7=4:1"},
        {"//a\r/*b\n*/\n\r\nz", "z@13=5:1 end@14=5:2 //[0,3) /*[4,10)"},
        {std::string("\xEF\xBB\xBF") + "a\nb", "a@3=1:1 b@5=2:1 end@6=2:2"},
        {"#h# \"s\"", "#@0=1:1 \"@4=1:5 end@7=1:8"},
    };
    for (const LexCase& c : cases) {
        auto stream = make<StringStream>(str(c.source));
        // Read to the end twice over: the second pass adds no comment.
        std::string out;
        Pointer<StreamPosition> start = stream->mark();
        for (int pass = 0; pass < 2; ++pass) {
            stream->reset(start);
            out.clear();
            for (;;) {
                Pointer<Token> token = stream->next();
                SourcePosition at = stream->positionOf(token->begin());
                std::string text =
                    token->code() == kEnd ? "end"
                    : token->code() == kIdentifier
                        ? token->text()->toStdString()
                        : c.source.substr(static_cast<std::size_t>(token->begin()), 1);
                out += (out.empty() ? "" : " ") + text + "@" + std::to_string(token->begin()) +
                       "=" + std::to_string(at.line) + ":" + std::to_string(at.column);
                if (token->code() == kEnd) break;
            }
        }
        for (const CommentSpan& span : stream->comments()) {
            out += " " + c.source.substr(static_cast<std::size_t>(span.begin), 2) + "[" +
                   std::to_string(span.begin) + "," + std::to_string(span.end) + ")";
        }
        EXPECT_EQ(out, c.expected) << c.source;
    }
}

}  // namespace
}  // namespace qv
