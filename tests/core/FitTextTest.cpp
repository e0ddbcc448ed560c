// Fitting numbers and texts into a width: rounded, never cut; "###" where
// the whole part does not fit; a visible mark at the end of a cut text. The
// width here is counted in characters (UTF-8 code points).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/FitText.h"

namespace qv {
namespace {

std::int32_t characters(std::string_view text) {
    return static_cast<std::int32_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

TEST(FitText, NumbersAreRoundedToTheDigitsThatFit) {
    const struct {
        double value;
        std::int32_t width;
        const char* text;
    } cases[] = {
        {725.0113836, 20, "725.0113836"},
        {725.0113836, 11, "725.0113836"},
        {725.0113836, 8, "725.0114"},
        {725.0113836, 4, "725"},
        {725.0113836, 3, "725"},
        {725.0113836, 2, "##"},
        {725.0113836, 0, ""},
        {1999.96, 6, "2000"},
        {1999.96, 4, "2000"},
        {1999.96, 3, "###"},
        {-1999.96, 5, "-2000"},
        {-1999.96, 4, "###"},
        {999.96, 4, "1000"},
        {0.5, 1, "#"},
        {-0.5, 4, "-0.5"},
        {0.00123456, 5, "0.001"},
        {0.00123456, 4, "###"},
        // Exponent forms stay exponent forms, with fewer digits.
        {123456789012.0, 13, "123.456789e+9"},
        {123456789012.0, 8, "123.5e+9"},
        {123456789012.0, 6, "123e+9"},
        {123456789012.0, 5, "###"},
        {1.234567e6, 5, "1e+6"},
        {0.000123456, 7, "123e-6"},
        {999999.7, 5, "1e+6"},
        // Whole numbers have no digits to drop.
        {123456, 6, "123456"},
        {123456, 5, "###"},
        {INFINITY, 3, "inf"},
        {NAN, 2, "n\xE2\x80\xA6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " in " + std::to_string(c.width));
        EXPECT_EQ(fitNumber(c.value, c.width, characters), c.text);
    }
}

TEST(FitText, GeneralFormRoundsLikePrintf) {
    const struct {
        double value;
        std::int32_t width;
        std::int32_t digits;
        const char* text;
    } cases[] = {
        {0.1 + 0.2, 20, 10, "0.3"},  {1.0 / 3, 20, 13, "0.3333333333333"},
        {1.0 / 3, 6, 13, "0.3333"},  {1234567.0, 7, 13, "1234567"},
        {1234567.0, 6, 13, "1e+06"}, {1234567.0, 4, 13, "###"},
        {-2.5, 2, 10, "-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fitNumber(c.value, c.width, characters, NumberForm::General, c.digits), c.text);
    }
}

TEST(FitText, TextsThatDoNotFitEndWithAMark) {
    const struct {
        const char* text;
        std::int32_t width;
        const char* shown;
    } cases[] = {
        {"depends on cell", 20, "depends on cell"},
        {"depends on cell", 15, "depends on cell"},
        {"depends on cell", 8, "depends\xE2\x80\xA6"},
        {"depends", 1, "\xE2\x80\xA6"},
        {"depends", 0, ""},
        {"", 0, ""},
        // Whole characters only: "ä" is two bytes.
        {"\xC3\xA4\xC3\xA4\xC3\xA4", 3, "\xC3\xA4\xC3\xA4\xC3\xA4"},
        {"\xC3\xA4\xC3\xA4\xC3\xA4x", 3, "\xC3\xA4\xC3\xA4\xE2\x80\xA6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fitText(c.text, c.width, characters), c.shown);
    }
}

// However the width is measured, what is returned fits it.
TEST(FitText, ResultsFitTheirBudgetInPixels) {
    auto pixels = [](std::string_view text) { return characters(text) * 7 + 2; };
    for (double value : {725.0113836, -1999.96, 1.5e-12, 98765.4321, 0.1 + 0.2}) {
        for (std::int32_t budget = 0; budget < 100; ++budget) {
            std::string text = fitNumber(value, budget, pixels);
            EXPECT_TRUE(text.empty() || pixels(text) <= budget) << value << " " << text;
        }
    }
}

}  // namespace
}  // namespace qv
