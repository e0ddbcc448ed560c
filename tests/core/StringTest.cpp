// String operations, the concatenation forms that build messages, and the
// growth of StringBuffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CoreTestSupport.h"
#include "core/Number.h"
#include "core/String.h"
#include "core/StringBuffer.h"

namespace qv {
namespace {

using test::text;

TEST(String, HashSumsLittleEndianGroupsOfFour) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"", 0},
        {"abc", 0x636261},
        {"abcd", 0x64636261},
        {"abcde", 0x64636261u + 0x65u},
        {"\xff\xff\xff\xff\xff\xff\xff\xff", 0xfffffffeu},  // the sum wraps
        {"\xe9", 0xe9},                                     // bytes are unsigned
    };
    for (const auto& [input, expected] : rows) {
        EXPECT_EQ(static_cast<std::uint32_t>(str(input)->hashCode()), expected) << input;
    }
}

TEST(String, TrimRemovesSpacesAndControlCharactersOnly) {
    const std::pair<const char*, const char*> rows[] = {
        {"  a b \t", "a b"},
        {"    ", ""},
        {"", ""},
        {"\n\r\x01x\x1f", "x"},
        {" \xc3\xa9t\xc3\xa9 ", "\xc3\xa9t\xc3\xa9"},  // UTF-8 letters survive at both ends
        {"\xe9x\xe9", "\xe9x\xe9"},                    // every byte from 0x80 is a letter
        {"\x7f", "\x7f"},
    };
    for (const auto& [input, expected] : rows) {
        EXPECT_EQ(text(str(input)->trim()), expected) << input;
        EXPECT_EQ(trimmedBlanks(input), expected) << input;
    }
}

TEST(String, SubstringReplaceReverse) {
    auto abcd = str("abcd");
    EXPECT_EQ(text(abcd->substring(1, 3)), "bc");
    EXPECT_EQ(text(abcd->substring(3, 1)), "");
    EXPECT_EQ(text(abcd->substring(2)), "cd");
    EXPECT_EQ(text(abcd->reverse()), "dcba");

    const struct {
        const char *input, *from, *to, *expected;
    } rows[] = {
        {"aaa", "aa", "b", "ba"}, {"abcabc", "bc", "X", "aXaX"},   {"abc", "", "X", "abc"},
        {"abc", "abc", "", ""},   {"aaaa", "a", "aa", "aaaaaaaa"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.input) + "/" + row.from);
        EXPECT_EQ(text(str(row.input)->replace(std::string_view(row.from), row.to)), row.expected);
    }
    EXPECT_EQ(text(str("a.b.c")->replace('.', "::")), "a::b::c");
}

TEST(String, IndexOfForms) {
    auto s = str("abcb");
    const std::pair<std::int32_t, std::int32_t> rows[] = {
        {s->indexOf('b'), 1},        {s->indexOf('b', 2), 3},   {s->indexOf('z'), -1},
        {s->indexOf('a', -5), 0},    {s->indexOf('a', 10), -1}, {s->indexOf("cb", 0), 2},
        {s->indexOf("b", 2), 3},     {s->indexOf("b", 4), -1},  {s->indexOf("", 4), -1},
        {s->indexOf("bcbx", 0), -1}, {s->indexOf("ab", -3), 0},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

TEST(String, ToLowerCaseRewritesInPlace) {
    auto s = str("AbC-Z@[\xc3\x89");
    StringPointer lowered = s->toLowerCase();
    EXPECT_EQ(lowered.object(), s.object());
    EXPECT_EQ(text(s), "abc-z@[\xc3\x89");
}

TEST(StringConcatenation, RightOperandForms) {
    auto a = str("a");
    const struct {
        const char* name;
        StringPointer result;
        const char* expected;
    } rows[] = {
        {"String", a + str("b"), "ab"},
        {"nullString", a + nullString, "anull"},
        {"null object", a + Pointer<Object>(), "a"},
        {"plain text", a + "xyz", "axyz"},
        {"int", a + -42, "a-42"},
        {"bool", a + true, "atrue"},
        {"char", a + 'c', "ac"},
        {"Double object", a + Pointer<Object>(make<Double>(1000000)), "a1e+6"},
        {"Object then String", Pointer<Object>(make<Double>(0.5)) + str("x"), "0.5x"},
        {"null then String", Pointer<Object>() + str("x"), "x"},
        {"Object then nullString", Pointer<Object>(make<Double>(0.5)) + nullString, "0.5null"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text(row.result), row.expected) << row.name;
    EXPECT_EQ(text(a), "a");  // operands are unchanged
}

TEST(StringConcatenation, DoubleUsesThirteenSignificantDigits) {
    const std::pair<double, const char*> rows[] = {
        {2.5, "x2.5"},
        {0.1 + 0.2, "x0.3"},
        {2.0 / 3, "x0.6666666666667"},
        {1234567890123.4, "x1234567890123"},
        {12345678901234.0, "x1.234567890123e+13"},
        {1e-5, "x1e-05"},
        {-100.0, "x-100"},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(text(str("x") + value), expected);
}

TEST(StringBuffer, CapacityStartsAtTenAndDoubles) {
    const std::pair<std::int32_t, std::int32_t> rows[] = {
        {0, 10}, {9, 10}, {10, 20}, {19, 20}, {20, 40}, {1000, 1280},
    };
    for (const auto& [appended, capacity] : rows) {
        SCOPED_TRACE(appended);
        StringBuffer buffer;
        std::string appendedText(static_cast<std::size_t>(appended), 'q');
        buffer.append(appendedText);
        EXPECT_EQ(buffer.capacity(), capacity);
        EXPECT_EQ(buffer.view(), appendedText);
    }
}

TEST(StringBuffer, AppendCharReturnsTheNewCountAndGrowsOnTheTenth) {
    StringBuffer buffer;
    for (std::int32_t i = 1; i <= 9; ++i)
        EXPECT_EQ(buffer.append(static_cast<char>('0' + i)), i);
    EXPECT_EQ(buffer.capacity(), 10);
    EXPECT_EQ(buffer.append('!'), 10);
    EXPECT_EQ(buffer.capacity(), 20);
    EXPECT_EQ(text(buffer.toString()), "123456789!");
}

// The appended text may be the buffer's own, which growth moves.
TEST(StringBuffer, AppendingItsOwnTextRepeatsIt) {
    StringBuffer buffer;
    buffer.append("abcdefgh");
    buffer.append(buffer.view());
    EXPECT_EQ(buffer.view(), "abcdefghabcdefgh");
    buffer.append(buffer.view().substr(4, 4));
    EXPECT_EQ(buffer.view(), "abcdefghabcdefghefgh");
}

}  // namespace
}  // namespace qv
