// The toolkit's drawing surface over a QPainter: the work area paints
// through it on screen, and screenshots paint through it into an image.
// Coordinates are logical pixels; Qt scales them for high-DPI screens.
#pragma once

#include <QColor>
#include <QTransform>
#include <vector>

#include "toolkit/Graphics.h"
#include "toolkit/qt/QtFonts.h"

class QPainter;

namespace qv::toolkit {

class QtGraphics final : public Graphics {
  public:
    // Paints with `painter`, whose current transform places the surface's
    // top left corner; the whole surface of `size` is the first clip. The
    // painter is left as it was found when this object goes. Texts are
    // measured and drawn with `shaping`.
    QtGraphics(QPainter& painter, Size size, TextShaping shaping = TextShaping::Full);
    ~QtGraphics() override;
    QtGraphics(const QtGraphics&) = delete;
    QtGraphics& operator=(const QtGraphics&) = delete;

    void setColor(Color color) override;
    void drawLine(Point from, Point to) override;
    void drawRect(const Rect& rect) override;
    void fillRect(const Rect& rect) override;
    void fillEllipse(const Rect& bounds) override;
    void drawPolyline(std::span<const Point> points) override;
    void fillPolygon(std::span<const Point> points) override;
    void setFont(const Font& font) override;
    const FontMetrics& metrics() const override { return m_metrics; }
    void drawText(Point baseline, std::string_view utf8) override;
    void clipTo(const Rect& rect) override;
    void restoreClip() override;
    Rect clip() const override;
    void translate(std::int32_t dx, std::int32_t dy) override;
    Point origin() const override { return m_origin; }

  private:
    void applyClip();
    void applyOrigin();
    void useOutline();
    void useFill();

    QPainter& m_painter;
    QTransform m_base;          // the painter's transform when handed over
    std::vector<Rect> m_clips;  // in surface coordinates, without the origin
    Point m_origin;
    QColor m_color{Qt::black};
    TextShaping m_shaping;
    QtFontMetrics m_metrics;
};

}  // namespace qv::toolkit
