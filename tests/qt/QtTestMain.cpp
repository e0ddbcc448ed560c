// The Qt tests run on Qt's offscreen platform, so they need no display and
// never show a window on one.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "toolkit/qt/QtFonts.h"

namespace qv::toolkit {
std::string g_testProgram;
int screenshotAlone(const char* path);
}  // namespace qv::toolkit

int main(int argc, char** argv) {
    qv::toolkit::g_testProgram = argv[0];
    // A screenshot test runs this program again, with no display and no
    // application object, as the program's screenshot option does.
    if (argc == 3 && std::strcmp(argv[1], "--screenshot-alone") == 0)
        return qv::toolkit::screenshotAlone(argv[2]);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The program these tests run keeps its settings in the user's config
    // folder: here a fresh one of the tests' own, never the user's.
    std::string config = (std::filesystem::temp_directory_path() / "qv-qt-config-XXXXXX").string();
    if (::mkdtemp(config.data()) == nullptr) return 2;
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    int status = 0;
    {
        QApplication application(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        qv::toolkit::installFontSubstitutes();
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return status;
}
