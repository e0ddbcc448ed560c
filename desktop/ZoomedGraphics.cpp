#include "desktop/ZoomedGraphics.h"

#include <algorithm>

namespace qv {

using toolkit::Point;
using toolkit::Rect;
using toolkit::saturatingAdd;

ZoomedGraphics::ZoomedGraphics(toolkit::Graphics& device, const WorkAreaZoom& zoom,
                               MetricsSource metricsOf)
    : m_device(device), m_zoom(zoom), m_metricsOf(std::move(metricsOf)) {
    m_known.emplace_back(toolkit::Font{}, m_metricsOf(toolkit::Font{}));
    m_metrics = m_known.back().second.get();
}

Point ZoomedGraphics::scaled(Point point) const noexcept {
    return m_zoom.toWindow(
        Point{saturatingAdd(point.x, m_origin.x), saturatingAdd(point.y, m_origin.y)});
}

Rect ZoomedGraphics::scaled(const Rect& rect) const noexcept {
    return m_zoom.toWindow(rect.translated(m_origin.x, m_origin.y));
}

const std::vector<Point>& ZoomedGraphics::scaled(std::span<const Point> points) {
    m_points.clear();
    m_points.reserve(points.size());
    for (Point point : points)
        m_points.push_back(scaled(point));
    return m_points;
}

void ZoomedGraphics::drawLine(Point from, Point to) {
    m_device.drawLine(scaled(from), scaled(to));
}

void ZoomedGraphics::drawRect(const Rect& rect) {
    m_device.drawRect(scaled(rect));
}

void ZoomedGraphics::fillRect(const Rect& rect) {
    m_device.fillRect(scaled(rect));
}

void ZoomedGraphics::fillEllipse(const Rect& bounds) {
    m_device.fillEllipse(scaled(bounds));
}

void ZoomedGraphics::drawPolyline(std::span<const Point> points) {
    m_device.drawPolyline(scaled(points));
}

void ZoomedGraphics::fillPolygon(std::span<const Point> points) {
    m_device.fillPolygon(scaled(points));
}

void ZoomedGraphics::setFont(const toolkit::Font& font) {
    auto known = std::find_if(m_known.begin(), m_known.end(),
                              [&font](const auto& entry) { return entry.first == font; });
    if (known == m_known.end()) {
        m_known.emplace_back(font, m_metricsOf(font));
        known = m_known.end() - 1;
    }
    m_metrics = known->second.get();
    toolkit::Font onScreen = font;
    onScreen.pixelSize = std::max(1, m_zoom.toWindow(font.pixelSize));
    m_device.setFont(onScreen);
}

const toolkit::FontMetrics& ZoomedGraphics::metrics() const {
    return *m_metrics;
}

void ZoomedGraphics::drawText(Point baseline, std::string_view utf8) {
    m_device.drawText(scaled(baseline), utf8);
}

void ZoomedGraphics::clipTo(const Rect& rect) {
    m_device.clipTo(scaled(rect));
}

Rect ZoomedGraphics::clip() const {
    // The device's origin never moves, so its clip is in window pixels.
    return m_zoom.toWorkArea(m_device.clip()).translated(-m_origin.x, -m_origin.y);
}

void ZoomedGraphics::translate(std::int32_t dx, std::int32_t dy) {
    m_origin = {saturatingAdd(m_origin.x, dx), saturatingAdd(m_origin.y, dy)};
}

}  // namespace qv
