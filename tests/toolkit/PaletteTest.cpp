// The program's palettes: every text readable on what it is painted on,
// and the marks a user relies on apart from a plain view, in the builtin
// palettes and in those made from desktops' own colours (including ones no
// theme should have).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "toolkit/Palette.h"

namespace qv::toolkit {
namespace {

struct NamedPalette {
    std::string name;
    Palette palette;
};

constexpr Color kWhite{255, 255, 255};
constexpr Color kBlack{0, 0, 0};
constexpr Color kGrey{128, 128, 128};
constexpr Color kYellow{255, 255, 0};

// Qt's own light palette, desktops' dark and high contrast themes.
constexpr SystemColors kQtLight{{239, 239, 239}, kBlack, kWhite,          kBlack,
                                {48, 140, 198},  kWhite, {239, 239, 239}, kBlack};
constexpr SystemColors kBreezeDark{{49, 54, 59},   {239, 240, 241}, {35, 38, 41}, {239, 240, 241},
                                   {61, 174, 233}, {239, 240, 241}, {49, 54, 59}, {239, 240, 241}};
constexpr SystemColors kGreyDark{{36, 36, 36},  kWhite, {30, 30, 30}, kWhite,
                                 {21, 83, 158}, kWhite, {48, 48, 48}, kWhite};
constexpr SystemColors kBlackOnWhite{kWhite,      kBlack, kWhite, kBlack,
                                     {0, 0, 160}, kWhite, kWhite, kBlack};
constexpr SystemColors kWhiteOnBlack{kBlack,        kWhite, kBlack, kWhite,
                                     {0, 255, 255}, kBlack, kBlack, kWhite};

// The builtin palettes, and those of desktops, including colours chosen to
// trouble the derivation: a mid grey base, text as dark as the base, a
// highlight equal to the base, a saturated yellow base.
std::vector<NamedPalette> palettes() {
    const SystemColors desktops[] = {
        kQtLight,
        kBreezeDark,
        kGreyDark,
        kBlackOnWhite,
        kWhiteOnBlack,
        {kGrey, {120, 120, 120}, kGrey, {135, 135, 135}, kGrey, kGrey, kGrey, kGrey},
        {kYellow, {250, 250, 0}, kYellow, kYellow, kYellow, kWhite, kYellow, kWhite},
        {kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack},
    };
    std::vector<NamedPalette> all = {{"light", Palette::light()},
                                     {"dark", Palette::dark()},
                                     {"high contrast", Palette::highContrast()},
                                     {"high contrast light", Palette::highContrastLight()}};
    for (std::size_t i = 0; i < std::size(desktops); ++i)
        all.push_back({"desktop " + std::to_string(i), Palette::fromSystem(desktops[i])});
    return all;
}

// What is painted on what, as the views do it.
struct Painted {
    const char* what;
    Color Palette::*text;
    Color Palette::*background;
};

const Painted kTexts[] = {
    {"a cell", &Palette::text, &Palette::view},
    {"the selected cell", &Palette::text, &Palette::selection},
    {"a cell of a selected column", &Palette::text, &Palette::range},
    {"a cell being typed into", &Palette::text, &Palette::typing},
    {"a header", &Palette::text, &Palette::header},
    {"a title at rest", &Palette::text, &Palette::bar},
    {"a button", &Palette::text, &Palette::button},
    {"the active title", &Palette::accentText, &Palette::accent},
    {"an error cell", &Palette::errorText, &Palette::errorBackground},
    {"the selected error cell", &Palette::errorText, &Palette::selection},
    {"an error in a selected column", &Palette::errorText, &Palette::range},
    {"an error in an explanation", &Palette::errorText, &Palette::view},
    {"a special value", &Palette::quietText, &Palette::view},
    {"the selected special value", &Palette::quietText, &Palette::selection},
    {"a column's type", &Palette::quietText, &Palette::header},
    {"a find panel's message", &Palette::accent, &Palette::bar},
};

TEST(PaletteTest, EveryTextReadsOnItsBackground) {
    for (const NamedPalette& named : palettes()) {
        for (const Painted& painted : kTexts) {
            double ratio =
                contrastRatio(named.palette.*painted.text, named.palette.*painted.background);
            EXPECT_GE(ratio, kMinimumTextContrast) << named.name << ": " << painted.what;
        }
    }
}

// Told apart from a plain view (or the active title bar from one at rest)
// by lightness or by hue.
bool apart(Color first, Color second) {
    double distance =
        std::hypot(first.red - second.red, first.green - second.green, first.blue - second.blue);
    return contrastRatio(first, second) >= 1.15 || distance >= 40;
}

TEST(PaletteTest, MarksStandApartFromPlainViews) {
    struct Mark {
        const char* what;
        Color Palette::*mark;
        Color Palette::*plain;
    };
    const Mark marks[] = {
        {"the selection", &Palette::selection, &Palette::view},
        {"an error cell", &Palette::errorBackground, &Palette::view},
        {"the active title bar", &Palette::accent, &Palette::bar},
        {"a selected error cell", &Palette::selection, &Palette::errorBackground},
        {"a header", &Palette::header, &Palette::view},
    };
    for (const NamedPalette& named : palettes()) {
        for (const Mark& mark : marks)
            EXPECT_TRUE(apart(named.palette.*mark.mark, named.palette.*mark.plain))
                << named.name << ": " << mark.what;
    }
}

TEST(PaletteTest, ContrastRatioMatchesKnownPairs) {
    struct Case {
        Color first;
        Color second;
        double ratio;
    };
    const Case cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {255, 255, 255}, 1.0},
        {{118, 118, 118}, {255, 255, 255}, 4.54},
        {{255, 0, 0}, {255, 255, 255}, 4.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(contrastRatio(c.first, c.second), c.ratio, 0.01);
        EXPECT_NEAR(contrastRatio(c.second, c.first), c.ratio, 0.01);
    }
}

TEST(PaletteTest, DesktopsChooseTheirKindOfPalette) {
    struct Case {
        const char* desktop;
        SystemColors colors;
        bool darkView;
        Palette expected;  // compared for the builtin kinds only
        bool builtin;
    };
    const Case cases[] = {
        {"high contrast, black on white", kBlackOnWhite, false, Palette::highContrastLight(), true},
        {"high contrast, white on black", kWhiteOnBlack, true, Palette::highContrast(), true},
        {"a dark theme", kBreezeDark, true, {}, false},
        {"a light theme", kQtLight, false, {}, false},
    };
    for (const Case& c : cases) {
        Palette made = Palette::fromSystem(c.colors);
        if (c.builtin) {
            EXPECT_EQ(made, c.expected) << c.desktop;
        }
        EXPECT_EQ(relativeLuminance(made.view) < 0.2, c.darkView) << c.desktop;
        EXPECT_EQ(relativeLuminance(made.workArea) < 0.2, c.darkView) << c.desktop;
    }
}

TEST(PaletteTest, AppearanceNamesRoundTrip) {
    for (Appearance appearance :
         {Appearance::System, Appearance::Light, Appearance::Dark, Appearance::HighContrast}) {
        Appearance read = Appearance::System;
        ASSERT_TRUE(parseAppearance(appearanceName(appearance), read));
        EXPECT_EQ(read, appearance);
    }
    Appearance untouched = Appearance::Dark;
    for (const char* text : {"", "Dark", "dark ", "sepia", "high-contrast"})
        EXPECT_FALSE(parseAppearance(text, untouched)) << text;
    EXPECT_EQ(untouched, Appearance::Dark);
}

}  // namespace
}  // namespace qv::toolkit
