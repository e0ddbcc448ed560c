// The palette over Qt: the desktop's colours followed as Qt reports them
// (a change of Qt's application palette reaches every window), a fixed
// appearance given to Qt's own widgets too, and the desktop's palette back
// when the user returns to it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtAppearance.h"

namespace qv::toolkit {
namespace {

using Appearances = ShownWindow;

Color baseOfQt() {
    QColor base = QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
    return {static_cast<std::uint8_t>(base.red()), static_cast<std::uint8_t>(base.green()),
            static_cast<std::uint8_t>(base.blue())};
}

TEST_F(Appearances, FixedOnesReachQtAndTheDesktopsComesBack) {
    const QPalette desktop = QGuiApplication::palette();
    const Palette followed = Palette::fromSystem(systemColorsOf(desktop));
    EXPECT_EQ(window->palette(), followed);
    std::unique_ptr<Window> further = window->openWindow("Dialog", {40, 40, 300, 200});
    RecordingListener own;
    further->setListener(&own);

    struct Step {
        Appearance appearance;
        Palette expected;
    };
    const Step steps[] = {{Appearance::Dark, Palette::dark()},
                          {Appearance::HighContrast, Palette::highContrast()},
                          {Appearance::Light, Palette::light()},
                          {Appearance::System, followed}};
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(appearanceName(step.appearance)));
        listener.events.clear();
        own.events.clear();
        window->setAppearance(step.appearance);
        settle();
        EXPECT_EQ(window->palette(), step.expected);
        EXPECT_EQ(further->palette(), step.expected);
        EXPECT_EQ(baseOfQt(),
                  step.appearance == Appearance::System ? followed.view : step.expected.view);
        EXPECT_EQ(listener.events, std::vector<std::string>{"palette"});
        EXPECT_EQ(own.events, std::vector<std::string>{"palette"});
    }
}

TEST_F(Appearances, TheDesktopsChangesAreFollowedOnlyWhenChosen) {
    const QPalette desktop = QGuiApplication::palette();
    QPalette dark(QColor(48, 48, 48), QColor(36, 36, 36));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(255, 255, 255));
    dark.setColor(QPalette::WindowText, QColor(255, 255, 255));
    dark.setColor(QPalette::Highlight, QColor(21, 83, 158));
    dark.setColor(QPalette::HighlightedText, QColor(255, 255, 255));

    QApplication::setPalette(dark);
    settle();
    EXPECT_EQ(window->palette(), Palette::fromSystem(systemColorsOf(dark)));
    EXPECT_EQ(listener.events, std::vector<std::string>{"palette"});

    // Under a fixed appearance a change of the desktop waits.
    window->setAppearance(Appearance::Light);
    QApplication::setPalette(desktop);
    settle();
    EXPECT_EQ(window->palette(), Palette::light());
    window->setAppearance(Appearance::System);
    settle();
    EXPECT_EQ(window->palette(), Palette::fromSystem(systemColorsOf(desktop)));
}

}  // namespace
}  // namespace qv::toolkit
