// A drawing surface that records every call as a line of text, for tests
// that assert on what was drawn. Its font metrics are fixed: every
// character (a UTF-8 code point) is 8 pixels wide, bold ones 9, the ascent
// is 12 and the descent 4 at size 16 and in proportion at other sizes.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Graphics.h"

namespace qv::toolkit {

class HeadlessMetrics final : public FontMetrics {
  public:
    explicit HeadlessMetrics(const Font& font) : m_font(font) {}
    std::int32_t ascent() const override;
    std::int32_t descent() const override;
    std::int32_t textWidth(std::string_view utf8) const override;

  private:
    Font m_font;
};

class HeadlessGraphics final : public Graphics {
  public:
    // The whole surface of `size` is the first clip.
    explicit HeadlessGraphics(Size size);

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

    // One line per call, in absolute coordinates, e.g. "text 10,28 Hello"
    // or "fill 0,0 100x20 #ffffff"; calls wholly outside the clip are
    // recorded too, marked "(clipped)".
    const std::vector<std::string>& calls() const noexcept { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The texts drawn, in order, without the clipped ones.
    std::vector<std::string> texts() const;

  private:
    void record(std::string call, const Rect& extent);
    std::string colorText() const;

    std::vector<std::string> m_calls;
    std::vector<Rect> m_clips;  // absolute
    Point m_origin;
    Color m_color;
    Font m_font;
    HeadlessMetrics m_metrics;
};

}  // namespace qv::toolkit
