// How a strip of the chart is drawn: its colour, its point markers and the
// segments between consecutive points.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "toolkit/Graphics.h"

namespace qv {

class StripPainter : public Object {
    QV_ABSTRACT_OBJECT(StripPainter, Object)
  public:
    virtual void selectColor(toolkit::Graphics& graphics) const = 0;
    virtual void drawPoint(toolkit::Graphics& graphics, toolkit::Point point) const = 0;
    virtual void drawSegment(toolkit::Graphics& graphics, toolkit::Point from,
                             toolkit::Point to) const = 0;
};

// A filled circle of `radius` per point and straight segments, in one colour.
class SimpleStripPainter final : public StripPainter {
    QV_OBJECT(SimpleStripPainter, StripPainter, "SimpleStripPainter")
  public:
    static constexpr toolkit::Color kDefaultColor{30, 80, 170};

    explicit SimpleStripPainter(std::int32_t radius, toolkit::Color color = kDefaultColor)
        : m_color(color), m_radius(radius) {}

    toolkit::Color color() const noexcept { return m_color; }
    std::int32_t radius() const noexcept { return m_radius; }

    void selectColor(toolkit::Graphics& graphics) const override { graphics.setColor(m_color); }
    void drawPoint(toolkit::Graphics& graphics, toolkit::Point point) const override {
        graphics.fillEllipse(
            {point.x - m_radius, point.y - m_radius, 2 * m_radius + 1, 2 * m_radius + 1});
    }
    void drawSegment(toolkit::Graphics& graphics, toolkit::Point from,
                     toolkit::Point to) const override {
        graphics.drawLine(from, to);
    }

  private:
    toolkit::Color m_color;
    std::int32_t m_radius;
};

}  // namespace qv
