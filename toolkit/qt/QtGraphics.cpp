#include "toolkit/qt/QtGraphics.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

namespace qv::toolkit {

namespace {

QRect toQRect(const Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

QPolygon toQPolygon(std::span<const Point> points) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (Point p : points)
        polygon.append(QPoint(p.x, p.y));
    return polygon;
}

}  // namespace

QtGraphics::QtGraphics(QPainter& painter, Size size, TextShaping shaping)
    : m_painter(painter),
      m_base(painter.worldTransform()),
      m_clips{{0, 0, size.width, size.height}},
      m_shaping(shaping),
      m_metrics(Font{}, shaping) {
    m_painter.save();
    // Lines and outlines stay on the pixel grid, as the editables measure them.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setFont(toQFont(Font{}, m_shaping));
    applyClip();
}

QtGraphics::~QtGraphics() {
    m_painter.restore();
}

void QtGraphics::applyOrigin() {
    QTransform transform = m_base;
    transform.translate(m_origin.x, m_origin.y);
    m_painter.setWorldTransform(transform);
}

void QtGraphics::applyClip() {
    // The clip is kept without the origin; the painter's transform is the
    // base moved by the origin, so the clip is set moved back by it.
    m_painter.setClipRect(toQRect(m_clips.back().translated(-m_origin.x, -m_origin.y)),
                          Qt::ReplaceClip);
}

void QtGraphics::useOutline() {
    m_painter.setPen(QPen(m_color, 1));
    m_painter.setBrush(Qt::NoBrush);
}

void QtGraphics::useFill() {
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_color);
}

void QtGraphics::setColor(Color color) {
    m_color = QColor(color.red, color.green, color.blue);
}

void QtGraphics::drawLine(Point from, Point to) {
    useOutline();
    m_painter.drawLine(from.x, from.y, to.x, to.y);
}

void QtGraphics::drawRect(const Rect& rect) {
    useOutline();
    m_painter.drawRect(toQRect(rect));
}

void QtGraphics::fillRect(const Rect& rect) {
    m_painter.fillRect(toQRect(rect), m_color);
}

void QtGraphics::fillEllipse(const Rect& bounds) {
    useFill();
    // Round shapes look ragged without smoothing; straight edges stay crisp.
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.drawEllipse(toQRect(bounds));
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void QtGraphics::drawPolyline(std::span<const Point> points) {
    useOutline();
    m_painter.drawPolyline(toQPolygon(points));
}

void QtGraphics::fillPolygon(std::span<const Point> points) {
    useFill();
    m_painter.drawPolygon(toQPolygon(points), Qt::OddEvenFill);
}

void QtGraphics::setFont(const Font& font) {
    m_painter.setFont(toQFont(font, m_shaping));
    m_metrics = QtFontMetrics(font, m_shaping);
}

void QtGraphics::drawText(Point baseline, std::string_view utf8) {
    m_painter.setPen(m_color);
    m_painter.drawText(QPoint(baseline.x, baseline.y),
                       QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void QtGraphics::clipTo(const Rect& rect) {
    m_clips.push_back(m_clips.back().intersected(rect.translated(m_origin.x, m_origin.y)));
    applyClip();
}

void QtGraphics::restoreClip() {
    if (m_clips.size() <= 1) return;
    Rect left = m_clips.back();
    m_clips.pop_back();
    // Every clip is a change of state a PDF records; the same one again is none.
    if (!(m_clips.back() == left)) applyClip();
}

Rect QtGraphics::clip() const {
    return m_clips.back().translated(-m_origin.x, -m_origin.y);
}

void QtGraphics::translate(std::int32_t dx, std::int32_t dy) {
    if (dx == 0 && dy == 0) return;
    m_origin.x += dx;
    m_origin.y += dy;
    applyOrigin();
}

}  // namespace qv::toolkit
