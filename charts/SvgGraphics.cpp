#include "charts/SvgGraphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/Utf8.h"

namespace qv {
namespace {

std::string number(std::int32_t value) {
    return std::to_string(value);
}

// Half pixels, for the centres and radii of ellipses.
std::string half(std::int64_t twice) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(twice) / 2);
    return text;
}

}  // namespace

std::int32_t SvgMetrics::ascent() const {
    return (m_font.pixelSize * 3 + 3) / 4;
}

std::int32_t SvgMetrics::descent() const {
    return (m_font.pixelSize + 3) / 4;
}

std::int32_t SvgMetrics::textWidth(std::string_view utf8) const {
    std::int64_t characters = 0;
    for (unsigned char byte : utf8) {
        if ((byte & 0xC0) != 0x80) ++characters;
    }
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(characters * m_font.pixelSize * 6 / 10, INT32_MAX / 2));
}

SvgGraphics::SvgGraphics(toolkit::Size size) : m_size(size), m_metrics(m_font) {
    m_clips.push_back({0, 0, size.width, size.height});
    m_body += "<rect x=\"0\" y=\"0\" width=\"" + number(size.width) + "\" height=\"" +
              number(size.height) + "\" fill=\"#ffffff\"/>\n";
}

std::string SvgGraphics::colorText() const {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", m_color.red, m_color.green, m_color.blue);
    return text;
}

std::string SvgGraphics::pointsText(std::span<const toolkit::Point> points) const {
    std::string text;
    for (const toolkit::Point& p : points) {
        if (!text.empty()) text += ' ';
        text += number(p.x + m_origin.x) + "," + number(p.y + m_origin.y);
    }
    return text;
}

void SvgGraphics::drawLine(toolkit::Point from, toolkit::Point to) {
    m_body += "<line x1=\"" + number(from.x + m_origin.x) + "\" y1=\"" +
              number(from.y + m_origin.y) + "\" x2=\"" + number(to.x + m_origin.x) + "\" y2=\"" +
              number(to.y + m_origin.y) + "\" stroke=\"" + colorText() + "\"/>\n";
}

void SvgGraphics::drawRect(const toolkit::Rect& rect) {
    m_body += "<rect x=\"" + number(rect.x + m_origin.x) + "\" y=\"" + number(rect.y + m_origin.y) +
              "\" width=\"" + number(rect.width) + "\" height=\"" + number(rect.height) +
              "\" fill=\"none\" stroke=\"" + colorText() + "\"/>\n";
}

void SvgGraphics::fillRect(const toolkit::Rect& rect) {
    if (rect.isEmpty()) return;
    m_body += "<rect x=\"" + number(rect.x + m_origin.x) + "\" y=\"" + number(rect.y + m_origin.y) +
              "\" width=\"" + number(rect.width) + "\" height=\"" + number(rect.height) +
              "\" fill=\"" + colorText() + "\"/>\n";
}

void SvgGraphics::fillEllipse(const toolkit::Rect& bounds) {
    if (bounds.isEmpty()) return;
    std::int64_t left = bounds.x + m_origin.x;
    std::int64_t top = bounds.y + m_origin.y;
    m_body += "<ellipse cx=\"" + half(2 * left + bounds.width) + "\" cy=\"" +
              half(2 * top + bounds.height) + "\" rx=\"" + half(bounds.width) + "\" ry=\"" +
              half(bounds.height) + "\" fill=\"" + colorText() + "\"/>\n";
}

void SvgGraphics::drawPolyline(std::span<const toolkit::Point> points) {
    if (points.empty()) return;
    m_body += "<polyline points=\"" + pointsText(points) + "\" fill=\"none\" stroke=\"" +
              colorText() + "\"/>\n";
}

void SvgGraphics::fillPolygon(std::span<const toolkit::Point> points) {
    if (points.empty()) return;
    m_body += "<polygon points=\"" + pointsText(points) + "\" fill=\"" + colorText() + "\"/>\n";
}

void SvgGraphics::setFont(const toolkit::Font& font) {
    m_font = font;
    m_metrics = SvgMetrics(font);
}

void SvgGraphics::drawText(toolkit::Point baseline, std::string_view utf8) {
    m_body += "<text x=\"" + number(baseline.x + m_origin.x) + "\" y=\"" +
              number(baseline.y + m_origin.y) + "\" font-family=\"" + svgEscape(m_font.family) +
              "\" font-size=\"" + number(m_font.pixelSize) + "\"" +
              (m_font.bold ? " font-weight=\"bold\"" : "") + " fill=\"" + colorText() + "\">" +
              svgEscape(utf8) + "</text>\n";
}

void SvgGraphics::clipTo(const toolkit::Rect& rect) {
    toolkit::Rect absolute = rect.translated(m_origin.x, m_origin.y).intersected(m_clips.back());
    m_clips.push_back(absolute);
    std::string id = "clip" + number(++m_clipCount);
    m_body += "<clipPath id=\"" + id + "\"><rect x=\"" + number(absolute.x) + "\" y=\"" +
              number(absolute.y) + "\" width=\"" + number(absolute.width) + "\" height=\"" +
              number(absolute.height) + "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
}

void SvgGraphics::restoreClip() {
    // The surface's own clip stays.
    if (m_clips.size() <= 1) return;
    m_clips.pop_back();
    m_body += "</g>\n";
}

toolkit::Rect SvgGraphics::clip() const {
    return m_clips.back().translated(-m_origin.x, -m_origin.y);
}

void SvgGraphics::translate(std::int32_t dx, std::int32_t dy) {
    m_origin.x += dx;
    m_origin.y += dy;
}

std::string SvgGraphics::document() const {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(m_size.width) +
            "\" height=\"" + number(m_size.height) + "\" viewBox=\"0 0 " + number(m_size.width) +
            " " + number(m_size.height) + "\">\n";
    text += m_body;
    // Groups of clips still open when the drawing ended.
    for (std::size_t i = 1; i < m_clips.size(); ++i)
        text += "</g>\n";
    text += "</svg>\n";
    return text;
}

std::string svgEscape(std::string_view text) {
    std::string clean = utf8::sanitized(text);
    std::string out;
    out.reserve(clean.size());
    for (char c : clean) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
                break;
        }
    }
    return out;
}

}  // namespace qv
