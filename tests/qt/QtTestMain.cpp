// The Qt tests run on Qt's offscreen platform, so they need no display and
// never show a window on one.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "toolkit/qt/QtFonts.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    qv::toolkit::installFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
