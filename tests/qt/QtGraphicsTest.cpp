// Drawing through the painter-backed surface, checked on the pixels of an
// image: outlines and fills cover the pixels the editables expect, clips
// and the origin nest and come back, and fonts measure like Arial.
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtFonts.h"
#include "toolkit/qt/QtGraphics.h"

namespace qv::toolkit {
namespace {

constexpr Color kBlack{0, 0, 0};

struct Probe {
    int x;
    int y;
    bool painted;
};

struct DrawCase {
    const char* name;
    std::function<void(Graphics&)> draw;
    std::vector<Probe> probes;
};

QImage paintOnWhite(const std::function<void(Graphics&)>& draw) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QtGraphics graphics(painter, {100, 100});
        graphics.setColor(kBlack);
        draw(graphics);
    }
    return image;
}

TEST(QtGraphics, ShapesCoverTheirPixels) {
    const DrawCase cases[] = {
        {"fill covers width by height",
         [](Graphics& g) {
             g.fillRect({10, 10, 5, 5});
         },
         {{10, 10, true}, {14, 14, true}, {15, 14, false}, {14, 15, false}, {9, 10, false}}},
        {"outline covers width + 1 by height + 1",
         [](Graphics& g) {
             g.drawRect({10, 10, 5, 5});
         },
         {{10, 10, true}, {15, 15, true}, {15, 10, true}, {12, 12, false}, {16, 16, false}}},
        {"line",
         [](Graphics& g) {
             g.drawLine({0, 50}, {80, 50});
         },
         {{0, 50, true}, {40, 50, true}, {40, 51, false}, {90, 50, false}}},
        {"polyline",
         [](Graphics& g) {
             const Point points[] = {{10, 10}, {40, 10}, {40, 40}};
             g.drawPolyline(points);
         },
         {{25, 10, true}, {40, 25, true}, {25, 25, false}}},
        {"ellipse",
         [](Graphics& g) {
             g.fillEllipse({10, 10, 20, 20});
         },
         {{20, 20, true}, {10, 10, false}, {29, 29, false}}},
        {"polygon",
         [](Graphics& g) {
             const Point triangle[] = {{10, 10}, {40, 10}, {10, 40}};
             g.fillPolygon(triangle);
         },
         {{13, 13, true}, {35, 35, false}}},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = paintOnWhite(c.draw);
        for (const Probe& p : c.probes) {
            SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
            EXPECT_EQ(image.pixel(p.x, p.y) != qRgb(255, 255, 255), p.painted);
        }
    }
}

TEST(QtGraphics, ClipsAndTheOriginNestAndComeBack) {
    const DrawCase cases[] = {
        {"clip cuts a fill",
         [](Graphics& g) {
             g.clipTo({0, 0, 20, 20});
             g.fillRect({10, 10, 30, 30});
         },
         {{15, 15, true}, {25, 25, false}, {19, 19, true}, {20, 19, false}}},
        {"origin moves drawing",
         [](Graphics& g) {
             g.translate(30, 30);
             g.fillRect({0, 0, 5, 5});
         },
         {{30, 30, true}, {34, 34, true}, {0, 0, false}}},
        {"a clip set after a move is in the moved coordinates",
         [](Graphics& g) {
             g.translate(10, 10);
             g.clipTo({0, 0, 10, 10});
             g.translate(5, 5);
             g.fillRect({-50, -50, 200, 200});
         },
         {{10, 10, true}, {19, 19, true}, {9, 9, false}, {20, 20, false}}},
        {"clips meet",
         [](Graphics& g) {
             g.clipTo({0, 0, 30, 30});
             g.clipTo({20, 20, 30, 30});
             g.fillRect({0, 0, 100, 100});
         },
         {{25, 25, true}, {35, 35, false}, {15, 15, false}}},
        {"restoring returns to the clip before",
         [](Graphics& g) {
             g.clipTo({0, 0, 5, 5});
             g.clipTo({0, 0, 3, 3});
             g.restoreClip();
             g.fillRect({0, 0, 100, 100});
         },
         {{4, 4, true}, {5, 5, false}}},
        {"a clip outside the surface paints nothing",
         [](Graphics& g) {
             g.clipTo({200, 200, 5, 5});
             g.fillRect({0, 0, 100, 100});
         },
         {{0, 0, false}, {50, 50, false}}},
        {"a scope restores clip and origin",
         [](Graphics& g) {
             {
                 GraphicsScope scope(g, {0, 0, 10, 10});
                 g.translate(5, 5);
             }
             g.fillRect({50, 50, 3, 3});
         },
         {{50, 50, true}, {52, 52, true}, {55, 55, false}}},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = paintOnWhite(c.draw);
        for (const Probe& p : c.probes) {
            SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
            EXPECT_EQ(image.pixel(p.x, p.y) != qRgb(255, 255, 255), p.painted);
        }
    }
}

TEST(QtGraphics, ClipAndOriginReadBackInTheCurrentCoordinates) {
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    QtGraphics g(painter, {100, 100});
    EXPECT_EQ(g.clip(), (Rect{0, 0, 100, 100}));
    g.translate(10, 20);
    EXPECT_EQ(g.origin(), (Point{10, 20}));
    EXPECT_EQ(g.clip(), (Rect{-10, -20, 100, 100}));
    g.clipTo({0, 0, 30, 30});
    g.translate(5, 5);
    EXPECT_EQ(g.clip(), (Rect{-5, -5, 30, 30}));
    g.restoreClip();
    g.restoreClip();  // more restores than clips keep the surface's clip
    EXPECT_EQ(g.clip(), (Rect{-15, -25, 100, 100}));
}

TEST(QtGraphics, ColoursAndTheSurfaceHandedOverInAnOffsetPainter) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // A widget painted inside a larger window gets a painter already moved.
    painter.translate(40, 40);
    {
        QtGraphics g(painter, {20, 20});
        g.setColor({200, 10, 20});
        g.fillRect({0, 0, 100, 100});  // clipped to the surface's 20 by 20
    }
    EXPECT_EQ(painter.worldTransform(), QTransform::fromTranslate(40, 40));
    painter.end();
    EXPECT_EQ(image.pixel(40, 40), qRgb(200, 10, 20));
    EXPECT_EQ(image.pixel(59, 59), qRgb(200, 10, 20));
    EXPECT_EQ(image.pixel(60, 60), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(39, 39), qRgb(255, 255, 255));
}

TEST(QtGraphics, TextSitsOnItsBaselineWithinItsMeasuredWidth) {
    QtFontMetrics metrics(Font{});
    QImage image = paintOnWhite([](Graphics& g) { g.drawText({10, 60}, "Hello"); });
    QRect inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) inked |= QRect(x, y, 1, 1);
    ASSERT_FALSE(inked.isEmpty());
    EXPECT_GE(inked.left(), 10);
    EXPECT_LE(inked.right(), 10 + metrics.textWidth("Hello"));
    EXPECT_GE(inked.top(), 60 - metrics.ascent());
    EXPECT_LE(inked.bottom(), 60);  // no descenders in "Hello"
    EXPECT_GE(inked.bottom(), 58);
}

TEST(QtFonts, ArialIsMetricCompatibleAndBoldIsWider) {
    Font plain{"arial", 16, false};
    if (!QFontDatabase::hasFamily(QStringLiteral("Arial"))) {
        EXPECT_EQ(QFontInfo(toQFont(plain)).family(), QStringLiteral("Liberation Sans"));
    }
    QtFontMetrics metrics(plain);
    // Arial's advances give 36.5 pixels for "Hello" at 16; hinting rounds
    // each letter. A wider substitute (DejaVu Sans: 40.5) would break layouts.
    EXPECT_GE(metrics.textWidth("Hello"), 35);
    EXPECT_LE(metrics.textWidth("Hello"), 39);
    EXPECT_GE(metrics.height(), 16);
    EXPECT_LE(metrics.height(), 20);
    EXPECT_GT(metrics.ascent(), metrics.descent());
    EXPECT_EQ(metrics.textWidth(""), 0);
    EXPECT_GT(metrics.textWidth("\xE2\x82\xAC"), 0);
    QtFontMetrics bold({"arial", 16, true});
    EXPECT_GT(bold.textWidth("Hello world"), metrics.textWidth("Hello world"));
    QtFontMetrics small({"arial", 8, false});
    EXPECT_LT(small.textWidth("Hello"), metrics.textWidth("Hello"));
}

}  // namespace
}  // namespace qv::toolkit

namespace qv::toolkit {
namespace {

TEST(QtGraphics, HighDpiSurfacesScaleLogicalPixels) {
    // A screen at twice the density: everything drawn doubles in device
    // pixels, clips included, and text is measured in logical pixels.
    QImage image(200, 200, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QtGraphics g(painter, {100, 100});
        g.setColor(kBlack);
        g.clipTo({0, 0, 15, 100});
        g.fillRect({10, 10, 10, 10});
    }
    painter.end();
    EXPECT_EQ(image.pixel(20, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(29, 39), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(30, 30), qRgb(255, 255, 255));  // clipped at logical 15
    EXPECT_EQ(image.pixel(19, 19), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace qv::toolkit
