// Charts painted into PNG images through the Qt surface: the format and
// size, the trajectory's pixels where the chart maps its points, and
// `quorvatelle --chart` run as a process.
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include <sys/wait.h>

#include "charts/StripPainter.h"
#include "charts/TableChartModel.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtImage.h"
#include "views/ChartEditable.h"

namespace qv::toolkit {
namespace {

// Falling from the top left, so no marker lies under the legend at the top right.
const char* const kModel = R"(table P{
    x:=range 1 to 5!
    y:=6-x!
    falling:=plot(x, y);
}
)";

const char* const kDocument = R"(table P{
    x:=range 1 to 5!
    y:=6-x!
    falling:=plot(x, y);
}
//--end)";

bool isStripColour(QRgb pixel) {
    Color strip = SimpleStripPainter::kDefaultColor;
    return pixel == qRgb(strip.red, strip.green, strip.blue);
}

TEST(ChartImage, ThePngShowsTheTrajectoryWhereTheChartMapsIt) {
    Pointer<Kernel> kernel = test::loadModel(kModel);
    auto chart = make<ChartEditable>(make<TableChartModel>(kernel->getTableByName("P")));
    chart->layoutSize({400, 300});
    std::string bytes;
    std::string error;
    // Through the window, as the chart view's export menu encodes it.
    QtWindow window;
    ASSERT_TRUE(window.encodeImage(
        {400, 300},
        [&chart](Graphics& graphics) {
            chart->paint(graphics, {0, 0});
        },
        bytes, error))
        << error;

    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // The whole image, to its end chunk.
    EXPECT_TRUE(bytes.ends_with(std::string("IEND\xae\x42\x60\x82", 8)));
    QImage image = QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    ASSERT_EQ(image.size(), QSize(400, 300));

    // The plot is the whole picture, padded by a tenth of each span: x
    // 0.6 .. 5.4 over 400 pixels, y 0.6 .. 5.4 over 300 pixels upward.
    const std::vector<ChartPoint>& points = chart->plot().points();
    ASSERT_EQ(points.size(), 5u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        double x = static_cast<double>(i + 1), y = 5.0 - static_cast<double>(i);
        Point at = points[i].screen;
        EXPECT_NEAR(at.x, (x - 0.6) * 400 / 4.8, 1.0);
        EXPECT_NEAR(at.y, (5.4 - y) * 300 / 4.8, 1.0);
        EXPECT_TRUE(isStripColour(image.pixel(at.x, at.y)));
        // The marker is a disc around its point, not only the line through it.
        for (Point side : {Point{-1, 0}, Point{1, 0}, Point{0, -1}, Point{0, 1}})
            EXPECT_TRUE(isStripColour(image.pixel(at.x + side.x, at.y + side.y)));
        // Off the curve, a little below it, the plot is not drawn on.
        EXPECT_FALSE(isStripColour(image.pixel(at.x, at.y + 12)));
    }
    // The segments join the markers: the middle of each is drawn (within a
    // pixel, as the line steps along its pixels).
    for (std::size_t i = 1; i < points.size(); ++i) {
        Point a = points[i - 1].screen, b = points[i].screen;
        bool drawn = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                drawn =
                    drawn || isStripColour(image.pixel((a.x + b.x) / 2 + dx, (a.y + b.y) / 2 + dy));
        EXPECT_TRUE(drawn) << i;
    }
}

TEST(ChartImage, ASizeOutOfRangeIsAFailure) {
    auto paint = [](Graphics& graphics) { graphics.fillRect({0, 0, 10, 10}); };
    const struct {
        Size size;
        bool encoded;
    } cases[] = {
        {{100, 100}, true},
        {{0, 100}, false},
        {{100, -1}, false},
        {{100000, 100000}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size.width);
        std::string bytes;
        std::string error;
        EXPECT_EQ(encodePngImage(c.size, paint, bytes, error), c.encoded);
        EXPECT_EQ(error.empty(), c.encoded);
        EXPECT_EQ(bytes.empty(), !c.encoded);
    }
}

// The program itself, in a fresh process with no display.
TEST(ChartImage, TheChartOptionOfTheProgram) {
    QTemporaryDir folder;
    std::string document = folder.filePath(QStringLiteral("falling.qvl")).toStdString();
    std::ofstream(document) << kDocument;
    std::string png = folder.filePath(QStringLiteral("out.png")).toStdString();
    std::string svg = folder.filePath(QStringLiteral("out.svg")).toStdString();
    const struct {
        std::string arguments;
        int status;
        std::string written;  // the file made, if any
    } cases[] = {
        {"'" + png + "' '" + document + "' P", 0, png},
        {"'" + svg + "' '" + document + "' P", 0, svg},
        {"'" + png + "' '" + document + "' Nowhere", 1, ""},
        {"'" + png + "' '" + document + ".missing' P", 1, ""},
        {"'/nonexistent-folder/out.png' '" + document + "' P", 1, ""},
        {"'" + folder.filePath(QStringLiteral("out.gif")).toStdString() + "' '" + document + "' P",
         2, ""},
    };
    for (const auto& c : cases) {
        QFile::remove(QString::fromStdString(png));
        QFile::remove(QString::fromStdString(svg));
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                              std::string(QV_PROGRAM_PATH) + "' --chart " + c.arguments +
                              " 2>/dev/null";
        int result = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(result)) << c.arguments;
        EXPECT_EQ(WEXITSTATUS(result), c.status) << c.arguments;
        EXPECT_EQ(QFile::exists(QString::fromStdString(png)), c.written == png) << c.arguments;
        EXPECT_EQ(QFile::exists(QString::fromStdString(svg)), c.written == svg) << c.arguments;
    }
    ASSERT_EQ(
        std::system(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                     std::string(QV_PROGRAM_PATH) + "' --chart '" + png + "' '" + document + "' P")
                        .c_str()),
        0);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(640, 480));
}

}  // namespace
}  // namespace qv::toolkit
