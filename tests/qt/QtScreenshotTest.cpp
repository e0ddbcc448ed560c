// The window painted into PNG bytes with no display: in a program that already
// runs Qt, and in a fresh process with no display and no application yet.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "tests/qt/DemoListener.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtApplication.h"

namespace qv::toolkit {

// Set by the test program's main.
extern std::string g_testProgram;

namespace {

ListenerFactory demo() {
    return [](Window& window) { return std::make_unique<DemoListener>(window); };
}

TEST(Screenshot, EncodesThePngOfTheWholeWindowAtTheAskedSize) {
    std::string bytes;
    std::string error;
    ASSERT_TRUE(renderScreenshot({1024, 768}, demo(), bytes, error)) << error;
    QImage image = QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1024, 768));
    // Text is drawn smoothed, so a readable window has many shades.
    EXPECT_GT(colourCount(image), 20u);
    // The menu bar sits above the work area: the work area's grey starts
    // lower than the image's first row.
    EXPECT_NE(image.pixel(1000, 2), qRgb(200, 200, 200));
    EXPECT_EQ(image.pixel(1000, 700), qRgb(200, 200, 200));
    if (const char* keep = std::getenv("QV_KEEP_SCREENSHOT")) image.save(QString::fromUtf8(keep));
}

TEST(Screenshot, WorksInAFreshProcessWithNoDisplay) {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("alone.png"));
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + g_testProgram +
                          "' --screenshot-alone '" + path.toStdString() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    QImage image(path);
    EXPECT_EQ(image.size(), QSize(1024, 768));
    EXPECT_GT(colourCount(image), 20u);
}

}  // namespace

// The fresh process's part: no application object exists yet.
int screenshotAlone(const char* path) {
    std::string bytes;
    std::string error;
    if (!renderScreenshot({1024, 768}, demo(), bytes, error)) return 1;
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::WriteOnly)) return 1;
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                   static_cast<qint64>(bytes.size())
               ? 0
               : 1;
}

}  // namespace qv::toolkit
