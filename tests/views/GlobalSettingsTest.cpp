// The document properties: the three shown entries of a new window, every
// entry by index with the place its value lives, and values that are not
// Booleans or indexes out of range.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Number.h"
#include "views/GlobalSettingsProperties.h"

namespace qv {
namespace {

struct Window {
    Pointer<GlobalSettings> settings = make<GlobalSettings>();
    PlainSupportFlags support;
    Pointer<Kernel> kernel = make<Kernel>();
    Pointer<GlobalSettingsProperties> properties = make<GlobalSettingsProperties>(
        settings, [this] { return kernel; }, support);
};

// Each property read where it lives, not through the list.
std::vector<std::function<bool(const Window&)>> placesByIndex() {
    return {
        [](const Window& w) { return w.settings->showColumnNumbers; },
        [](const Window& w) { return w.settings->showFormula; },
        [](const Window& w) { return w.kernel->getOptionFlag(); },
        [](const Window& w) { return w.settings->dockRange; },
        [](const Window& w) { return w.support.highContrast; },
        [](const Window& w) { return w.support.showGrid; },
        [](const Window& w) { return w.settings->doubleBuffer; },
        [](const Window& w) { return w.settings->sortIndicator; },
        [](const Window& w) { return w.settings->zeroRow; },
        [](const Window& w) { return w.settings->summaryRow; },
        [](const Window& w) { return w.support.whiteBackground; },
        [](const Window& w) { return w.support.drawDecorations; },
        [](const Window& w) { return w.settings->spreadsheetLook; },
    };
}

std::string valueText(const Pointer<Object>& value) {
    if (value.isNull()) return "null";
    return is<Boolean>(value) ? (cast<Boolean>(value)->value() ? "on" : "off") : "not boolean";
}

TEST(GlobalSettingsProperties, ANewWindowShowsThreeEntries) {
    Window w;
    EXPECT_EQ(w.properties->title()->toStdString(), "Document properties");
    ASSERT_EQ(w.properties->propertyCount(), 3);
    std::vector<std::string> shown;
    for (std::int32_t i = 0; i < w.properties->propertyCount(); ++i) {
        shown.push_back(w.properties->propertyName(i)->toStdString() + "=" +
                        valueText(w.properties->propertyValue(i)));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Show column numbers=off", "Show Formula=off",
                                               "Hide repeat values=on"}));
}

TEST(GlobalSettingsProperties, EveryEntryByIndexWithItsStartingValue) {
    const std::vector<std::string> expected = {
        "Show column numbers=off", "Show Formula=off",     "Hide repeat values=on",
        "dock range=off",          "High Contrast=off",    "Show grid=on",
        "double buffer=on",        "sort_indicator=on",    "zero_row=on",
        "summary_row=on",          "white_background=off", "draw_decorations=on",
        "Spreadsheet look=off",
    };
    Window w;
    ASSERT_EQ(GlobalSettingsProperties::allPropertyCount(), 13);
    std::vector<std::string> all;
    for (std::int32_t i = 0; i < GlobalSettingsProperties::allPropertyCount(); ++i) {
        all.push_back(w.properties->propertyName(i)->toStdString() + "=" +
                      valueText(w.properties->propertyValue(i)));
    }
    EXPECT_EQ(all, expected);
}

TEST(GlobalSettingsProperties, SettingAnEntryWritesItsOwnPlaceAtOnceAndNothingElse) {
    auto places = placesByIndex();
    for (std::int32_t index = 0; index < static_cast<std::int32_t>(places.size()); ++index) {
        SCOPED_TRACE(index);
        Window w;
        std::vector<bool> before;
        for (const auto& place : places)
            before.push_back(place(w));
        w.properties->setProperty(index, Boolean::of(!before[index]));
        for (std::int32_t other = 0; other < static_cast<std::int32_t>(places.size()); ++other) {
            bool expected = other == index ? !before[other] : before[other];
            EXPECT_EQ(places[other](w), expected) << "entry " << other;
        }
        EXPECT_EQ(valueText(w.properties->propertyValue(index)), before[index] ? "off" : "on");
    }
}

TEST(GlobalSettingsProperties, HideRepeatValuesGoesToTheCurrentKernelAndRecomputes) {
    Window w;
    std::int32_t changes = w.kernel->getChangeCount();
    w.properties->setProperty(2, Boolean::of(false));
    EXPECT_FALSE(w.kernel->getOptionFlag());
    EXPECT_GT(w.kernel->getChangeCount(), changes);
    // A load replaces the kernel: the same properties now speak for the new one.
    w.kernel = make<Kernel>();
    EXPECT_EQ(valueText(w.properties->propertyValue(2)), "on");
    w.properties->setProperty(2, Boolean::of(false));
    EXPECT_FALSE(w.kernel->getOptionFlag());
}

TEST(GlobalSettingsProperties, OtherValuesAndIndexesOutOfRangeAreIgnored) {
    Window w;
    const std::int32_t outside[] = {-1, 13, 1000};
    for (std::int32_t index : outside) {
        EXPECT_TRUE(w.properties->propertyValue(index).isNull()) << index;
        EXPECT_EQ(w.properties->propertyName(index)->toStdString(), "") << index;
        w.properties->setProperty(index, Boolean::of(true));
    }
    w.properties->setProperty(0, make<Integer>(1));
    w.properties->setProperty(0, Pointer<Object>());
    EXPECT_FALSE(w.settings->showColumnNumbers);
}

}  // namespace
}  // namespace qv
