#include "toolkit/headless/HeadlessGraphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace qv::toolkit {

namespace {

std::int32_t scaled(std::int32_t atSixteen, std::int32_t pixelSize) {
    return std::max<std::int32_t>(1, atSixteen * pixelSize / 16);
}

std::string pointText(Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string rectText(const Rect& r) {
    return pointText({r.x, r.y}) + " " + std::to_string(r.width) + "x" + std::to_string(r.height);
}

Rect boundsOf(std::span<const Point> points) {
    if (points.empty()) return {};
    auto [minX, maxX] = std::minmax_element(points.begin(), points.end(),
                                            [](Point a, Point b) { return a.x < b.x; });
    auto [minY, maxY] = std::minmax_element(points.begin(), points.end(),
                                            [](Point a, Point b) { return a.y < b.y; });
    return {minX->x, minY->y, maxX->x - minX->x + 1, maxY->y - minY->y + 1};
}

}  // namespace

std::int32_t HeadlessMetrics::ascent() const {
    return scaled(12, m_font.pixelSize);
}

std::int32_t HeadlessMetrics::descent() const {
    return scaled(4, m_font.pixelSize);
}

std::int32_t HeadlessMetrics::textWidth(std::string_view utf8) const {
    // Continuation bytes (10xxxxxx) belong to the character before them.
    auto characters = std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    std::int64_t width = characters * std::int64_t{scaled(m_font.bold ? 9 : 8, m_font.pixelSize)};
    return static_cast<std::int32_t>(std::min<std::int64_t>(width, INT32_MAX));
}

HeadlessGraphics::HeadlessGraphics(Size size)
    : m_clips{{0, 0, size.width, size.height}}, m_metrics(m_font) {}

std::string HeadlessGraphics::colorText() const {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", m_color.red, m_color.green, m_color.blue);
    return text;
}

void HeadlessGraphics::record(std::string call, const Rect& extent) {
    Rect absolute = extent.translated(m_origin.x, m_origin.y);
    if (absolute.intersected(m_clips.back()).isEmpty()) call += " (clipped)";
    m_calls.push_back(std::move(call));
}

void HeadlessGraphics::setColor(Color color) {
    m_color = color;
}

void HeadlessGraphics::drawLine(Point from, Point to) {
    Point a{from.x + m_origin.x, from.y + m_origin.y};
    Point b{to.x + m_origin.x, to.y + m_origin.y};
    const Point ends[] = {from, to};
    record("line " + pointText(a) + " " + pointText(b) + " " + colorText(), boundsOf(ends));
}

void HeadlessGraphics::drawRect(const Rect& rect) {
    record("rect " + rectText(rect.translated(m_origin.x, m_origin.y)) + " " + colorText(),
           {rect.x, rect.y, rect.width + 1, rect.height + 1});
}

void HeadlessGraphics::fillRect(const Rect& rect) {
    record("fill " + rectText(rect.translated(m_origin.x, m_origin.y)) + " " + colorText(), rect);
}

void HeadlessGraphics::fillEllipse(const Rect& bounds) {
    record("ellipse " + rectText(bounds.translated(m_origin.x, m_origin.y)) + " " + colorText(),
           bounds);
}

void HeadlessGraphics::drawPolyline(std::span<const Point> points) {
    std::string call = "polyline";
    for (Point p : points)
        call += " " + pointText({p.x + m_origin.x, p.y + m_origin.y});
    record(call + " " + colorText(), boundsOf(points));
}

void HeadlessGraphics::fillPolygon(std::span<const Point> points) {
    std::string call = "polygon";
    for (Point p : points)
        call += " " + pointText({p.x + m_origin.x, p.y + m_origin.y});
    record(call + " " + colorText(), boundsOf(points));
}

void HeadlessGraphics::setFont(const Font& font) {
    m_font = font;
    m_metrics = HeadlessMetrics(font);
}

void HeadlessGraphics::drawText(Point baseline, std::string_view utf8) {
    Rect extent{baseline.x, baseline.y - m_metrics.ascent(), m_metrics.textWidth(utf8),
                m_metrics.height()};
    record("text " + pointText({baseline.x + m_origin.x, baseline.y + m_origin.y}) + " " +
               std::string(utf8),
           extent);
}

void HeadlessGraphics::clipTo(const Rect& rect) {
    m_clips.push_back(m_clips.back().intersected(rect.translated(m_origin.x, m_origin.y)));
}

void HeadlessGraphics::restoreClip() {
    if (m_clips.size() > 1) m_clips.pop_back();
}

Rect HeadlessGraphics::clip() const {
    return m_clips.back().translated(-m_origin.x, -m_origin.y);
}

void HeadlessGraphics::translate(std::int32_t dx, std::int32_t dy) {
    m_origin.x += dx;
    m_origin.y += dy;
}

std::vector<std::string> HeadlessGraphics::texts() const {
    std::vector<std::string> texts;
    for (const std::string& call : m_calls) {
        if (call.rfind("text ", 0) != 0 || call.ends_with(" (clipped)")) continue;
        std::size_t afterPoint = call.find(' ', 5);
        texts.push_back(afterPoint == std::string::npos ? "" : call.substr(afterPoint + 1));
    }
    return texts;
}

}  // namespace qv::toolkit
