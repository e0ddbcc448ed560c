// A drawing surface that writes SVG, so a chart can be exported without a
// window system. Font metrics are estimated from the pixel size (no font
// files are read); viewers draw the text in their own face of the family.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Graphics.h"

namespace qv {

class SvgMetrics final : public toolkit::FontMetrics {
  public:
    explicit SvgMetrics(const toolkit::Font& font) : m_font(font) {}
    std::int32_t ascent() const override;
    std::int32_t descent() const override;
    // Six tenths of the size per code point: near the average of proportional
    // faces, and wide enough that labels do not run into each other.
    std::int32_t textWidth(std::string_view utf8) const override;

  private:
    toolkit::Font m_font;
};

class SvgGraphics final : public toolkit::Graphics {
  public:
    // A white surface of `size`, which is also the first clip.
    explicit SvgGraphics(toolkit::Size size);

    void setColor(toolkit::Color color) override { m_color = color; }
    void drawLine(toolkit::Point from, toolkit::Point to) override;
    void drawRect(const toolkit::Rect& rect) override;
    void fillRect(const toolkit::Rect& rect) override;
    void fillEllipse(const toolkit::Rect& bounds) override;
    void drawPolyline(std::span<const toolkit::Point> points) override;
    void fillPolygon(std::span<const toolkit::Point> points) override;
    void setFont(const toolkit::Font& font) override;
    const toolkit::FontMetrics& metrics() const override { return m_metrics; }
    void drawText(toolkit::Point baseline, std::string_view utf8) override;
    void clipTo(const toolkit::Rect& rect) override;
    void restoreClip() override;
    toolkit::Rect clip() const override;
    void translate(std::int32_t dx, std::int32_t dy) override;
    toolkit::Point origin() const override { return m_origin; }

    // The whole document: the header, everything drawn, the closing tags.
    std::string document() const;

  private:
    std::string colorText() const;
    std::string pointsText(std::span<const toolkit::Point> points) const;

    toolkit::Size m_size;
    std::string m_body;
    std::vector<toolkit::Rect> m_clips;  // absolute
    std::int32_t m_clipCount = 0;        // clip paths written, for their ids
    toolkit::Point m_origin;
    toolkit::Color m_color;
    toolkit::Font m_font;
    SvgMetrics m_metrics;
};

// Text as SVG character data or attribute value: markup characters escaped,
// control characters XML does not allow left out and bytes that are not
// UTF-8 replaced by U+FFFD.
std::string svgEscape(std::string_view text);

}  // namespace qv
