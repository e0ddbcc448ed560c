// Boxed numbers: the engineering format of result cells (with the positions
// that align decimal points and exponents), the decimal parser of Double,
// arithmetic and the asymmetric equality of Integer and Double.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "core/EngineeringFormat.h"
#include "core/Hashtable.h"
#include "core/Number.h"

namespace qv {
namespace {

using test::text;
using test::thrownMessage;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct FormatRow {
    double value;
    const char* expected;
    int point;
    int exponent;
};

const FormatRow kFormatRows[] = {
    // The documented examples.
    {0, "0", -1, -1},
    {-0.5, "-0.5", 3, -1},
    {1000, "1000", -1, -1},
    {999999, "999999", -1, -1},
    {1000000, "1e+6", -1, 1},
    {1234567, "1.234567e+6", 2, 8},
    {0.001, "0.001", 2, -1},
    {0.0001, "100e-6", -1, 3},
    {123456789012, "123.456789e+9", 4, 10},
    {500e-6, "500e-6", -1, 3},
    {1e+9, "1e+9", -1, 1},
    {-0.0, "0", -1, -1},
    // Around 0.001: below it an exponent appears unless rounding reaches it.
    {0.000999999, "999.999e-6", 4, 7},
    {0.0009999999999, "999.9999999e-6", 4, 11},
    {0.00099999999999, "0.001", 2, -1},
    {0.05, "0.05", 2, -1},
    // Around one million; whole numbers below it print as their digits.
    {999999, "999999", -1, -1},
    {-999999, "-999999", -1, -1},
    {1000, "1000", -1, -1},
    {-7, "-7", -1, -1},
    {999999.9999, "999999.9999", 7, -1},
    {999999.99999, "1e+6", -1, 1},
    // Rounding at the tenth significant digit, trailing zeros dropped.
    {1.23456789049, "1.23456789", 2, -1},
    {1.23456789051, "1.234567891", 2, -1},
    {9.9999999996, "10", -1, -1},
    {123456789.06, "123.4567891e+6", 4, 11},
    // Negative values shift both positions by one.
    {-1234567, "-1.234567e+6", 3, 9},
    {-0.0001, "-100e-6", -1, 4},
    {-999999.9999, "-999999.9999", 8, -1},
    // Far ends of the double range and non-finite values.
    {1e-10, "100e-12", -1, 3},
    {1.5e-300, "1.5e-300", 2, 3},
    {std::numeric_limits<double>::max(), "179.7693135e+306", 4, 11},
    {std::numeric_limits<double>::denorm_min(), "4.940656458e-324", 2, 11},
    {kInf, "inf", -1, -1},
    {-kInf, "-inf", -1, -1},
    {std::numeric_limits<double>::quiet_NaN(), "nan", -1, -1},
};

TEST(EngineeringFormat, FormatsEveryRowWithItsPositions) {
    for (const FormatRow& row : kFormatRows) {
        SCOPED_TRACE(row.expected);
        FormatPositions positions{99, 99};
        EXPECT_EQ(formatEngineering(row.value, &positions), row.expected);
        EXPECT_EQ(positions.point, row.point);
        EXPECT_EQ(positions.exponent, row.exponent);
        EXPECT_EQ(text(make<Double>(row.value)->toString()), row.expected);
    }
}

// Every formatted value parses back to within half a unit of its tenth digit.
TEST(EngineeringFormat, FormattedTextParsesBackWithinTenDigits) {
    for (int exponent = -20; exponent <= 20; ++exponent) {
        for (double mantissa : {1.0, -1.5, 3.14159265358979, -9.99999999951, 7.0 / 3}) {
            double value = mantissa * std::pow(10.0, exponent);
            std::string formatted = formatEngineering(value);
            SCOPED_TRACE(formatted);
            double back = Double::parseValue(formatted);
            EXPECT_LE(std::fabs(back - value), 5.000001e-10 * std::fabs(value));
        }
    }
}

// The significant digits of a text: no sign, point, exponent or zeros
// before the first digit or after the last.
std::string significantDigitsOf(const std::string& text) {
    std::string digits;
    for (char ch : text.substr(0, text.find('e'))) {
        if (ch >= '0' && ch <= '9' && !(digits.empty() && ch == '0')) digits += ch;
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return digits;
}

// The digits are those printf rounds to, whether the value is a short
// decimal, has many digits or is an arbitrary bit pattern.
TEST(EngineeringFormat, DigitsAreTheTenPrintfRoundsTo) {
    std::uint64_t state = 88172645463325252u;
    auto nextBits = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = nextBits();
        double values[] = {
            static_cast<double>(bits % 100000000) / 1000.0,
            static_cast<double>(bits % 1000) / 3.0,
            // Eleven-digit numbers: often a tie or nearly one at the tenth digit.
            static_cast<double>(bits % 100000000000u) / 10.0,
            static_cast<double>(bits % 100000000000u) * 1e-12,
            std::bit_cast<double>(bits),
            static_cast<double>(static_cast<std::int64_t>(bits % 20000000)) - 1e7,
        };
        for (double value : values) {
            if (!std::isfinite(value) || value == 0) continue;
            char printed[64];
            std::snprintf(printed, sizeof printed, "%.9e", value);
            std::string formatted = formatEngineering(value);
            ASSERT_EQ(significantDigitsOf(formatted), significantDigitsOf(printed))
                << printed << " formatted as " << formatted;
        }
    }
}

// Around each power of ten the decimal exponent changes: the digits and the
// place of the point must still be those of the exact rounding.
TEST(EngineeringFormat, ValuesAroundPowersOfTenKeepDigitsAndMagnitude) {
    for (int exponent = -30; exponent <= 30; ++exponent) {
        double power = std::pow(10.0, exponent);
        const double values[] = {
            power,
            std::nextafter(power, 0.0),
            std::nextafter(power, kInf),
            power * (1 - 1e-11),
            power * (1 + 1e-11),
            power * 0.99999999995,
            power * 9.9999999995,
            power * 9.99999999951,
            power * 1.00000000049,
            power * 2,
            power * 0.5,
        };
        for (double magnitude : values) {
            for (double value : {magnitude, -magnitude}) {
                char printed[64];
                std::snprintf(printed, sizeof printed, "%.9e", value);
                std::string formatted = formatEngineering(value);
                SCOPED_TRACE(std::string(printed) + " formatted as " + formatted);
                EXPECT_EQ(significantDigitsOf(formatted), significantDigitsOf(printed));
                double back = Double::parseValue(formatted);
                EXPECT_LE(std::fabs(back - value), 5.000001e-10 * std::fabs(value));
            }
        }
    }
}

TEST(DoubleParse, AcceptsDecimalForms) {
    const struct {
        const char* input;
        double expected;
    } rows[] = {
        {"12", 12},    {" 12", 12},     {"", 0},        {"\t\n7", 7},    {"-3.5", -3.5},
        {"+2", 2},     {"1e3", 1000},   {"1E-2", 0.01}, {".5", 0.5},     {"5.", 5},
        {"-.5", -0.5}, {"2.5e+2", 250}, {"1e-999", 0},  {"1e999", kInf}, {"-1e999", -kInf},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input);
        EXPECT_EQ(Double::parseValue(row.input), row.expected);
        EXPECT_EQ(Double::parse(str(row.input))->value(), row.expected);
    }
}

TEST(DoubleParse, RejectsAnythingLeftAfterTheNumber) {
    const std::string_view rows[] = {
        "12abc", "1..2", "3e",    "0x10", "inf", "nan",  "-inf",
        "12 ",   " ",    "+",     "-",    ".",   "e5",   "1e+",
        "--1",   "1,5",  "1.2.3", "1e5x", ".e1", "\x80", std::string_view("12\0", 3),
    };
    for (std::string_view input : rows) {
        SCOPED_TRACE(input);
        EXPECT_EQ(thrownMessage([&] { Double::parseValue(input); }), "invalid number");
        EXPECT_EQ(thrownMessage([&] { Double::parse(str(input)); }), "invalid number");
    }
}

Pointer<Object> integer(std::int32_t value) {
    return make<Integer>(value);
}
Pointer<Object> real(double value) {
    return make<Double>(value);
}
Pointer<Object> boolean(bool value) {
    return make<Boolean>(value);
}

TEST(BoxedValues, PlusCombinesNumbersOnly) {
    const struct {
        const char* name;
        Pointer<Object> left, right;
        const char* resultClass;  // nullptr: the null object
        double value;
    } rows[] = {
        {"int+double", integer(2), real(0.5), "Double", 2.5},
        {"double+int", real(0.5), integer(2), "Double", 2.5},
        {"int+int", integer(2), integer(3), "Integer", 5},
        {"double+double", real(1.5), real(2.25), "Double", 3.75},
        {"max+1 wraps", integer(kMax), integer(1), "Integer", kMin},
        {"min-1 wraps", integer(kMin), integer(-1), "Integer", kMax},
        {"int+bool", integer(1), boolean(true), nullptr, 0},
        {"int+null", integer(1), Pointer<Object>(), nullptr, 0},
        {"double+string", real(1), str("1"), nullptr, 0},
        {"bool+int", boolean(true), integer(1), nullptr, 0},
        {"null+int", Pointer<Object>(), integer(1), nullptr, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Pointer<Object> sum = row.left.object()->plus(row.right);
        if (row.resultClass == nullptr) {
            EXPECT_TRUE(sum.isNull());
            continue;
        }
        EXPECT_STREQ(sum->getClassName(), row.resultClass);
        EXPECT_EQ(cast<Number>(sum)->doubleValue(), row.value);
        EXPECT_NE(sum.object(), row.left.object());  // a new object; operands unchanged
        EXPECT_NE(sum.object(), row.right.object());
    }
}

TEST(BoxedValues, EqualsComparesValuesOfCompatibleClasses) {
    const struct {
        const char* name;
        Pointer<Object> left, right;
        bool expected;
    } rows[] = {
        {"Double 1 = Integer 1", real(1), integer(1), true},
        {"Integer 1 != Double 1", integer(1), real(1), false},
        {"distinct Integers", integer(1), integer(1), true},
        {"different Integers", integer(1), integer(2), false},
        {"Double 1.5 vs Integer 1", real(1.5), integer(1), false},
        {"nan", real(std::nan("")), real(std::nan("")), false},
        {"distinct true Booleans", boolean(true), boolean(true), true},
        {"shared and new Boolean", Boolean::of(false), boolean(false), true},
        {"true vs false", boolean(true), boolean(false), false},
        {"Boolean vs Integer", boolean(true), integer(1), false},
        {"Integer vs null", integer(0), Pointer<Object>(), false},
        {"Double vs null", real(0), Pointer<Object>(), false},
        {"Double vs String", real(1), str("1"), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.left->equals(*row.right.object()), row.expected);
    }
}

// Hash tables rely on equal keys hashing alike.
TEST(BoxedValues, EqualKeysFindEachOther) {
    const std::vector<std::pair<Pointer<Object>, Pointer<Object>>> rows = {
        {integer(-7), integer(-7)},
        {Boolean::of(true), boolean(true)},
        {Boolean::of(false), boolean(false)},
    };
    for (const auto& [stored, probe] : rows) {
        SCOPED_TRACE(stored->getClassName());
        EXPECT_EQ(stored->hashCode(), probe->hashCode());
        auto table = make<Hashtable>();
        table->put(stored, str("found"));
        EXPECT_EQ(text(cast<String>(table->get(probe))), "found");
    }
}

TEST(BoxedValues, TextFormsAndClones) {
    EXPECT_EQ(text(integer(-12)->describe()), "Integetr:-12");
    EXPECT_EQ(text(integer(5)->toString()), "Integer");  // integers are formatted explicitly
    EXPECT_EQ(text(boolean(true)->toString()), "true");
    EXPECT_EQ(text(boolean(false)->toString()), "false");
    for (const Pointer<Object>& original : {integer(7), real(2.5), boolean(true)}) {
        SCOPED_TRACE(original->getClassName());
        Pointer<Object> copy = original->clone();
        EXPECT_NE(copy.object(), original.object());
        EXPECT_EQ(copy->classTypeId(), original->classTypeId());
        EXPECT_TRUE(copy->equals(*original));
    }
}

}  // namespace
}  // namespace qv
