// The drawing surface handed to every paint: lines, rectangles, filled
// ellipses and polygons, text in a font, clipping and a movable origin.
// Coordinates are pixels relative to the current origin.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "toolkit/Font.h"
#include "toolkit/Geometry.h"

namespace qv::toolkit {

class Graphics {
  public:
    virtual ~Graphics() = default;

    virtual void setColor(Color color) = 0;
    virtual void drawLine(Point from, Point to) = 0;
    // The outline: width + 1 by height + 1 pixels, as the platforms draw it.
    virtual void drawRect(const Rect& rect) = 0;
    virtual void fillRect(const Rect& rect) = 0;
    virtual void fillEllipse(const Rect& bounds) = 0;
    virtual void drawPolyline(std::span<const Point> points) = 0;
    virtual void fillPolygon(std::span<const Point> points) = 0;

    virtual void setFont(const Font& font) = 0;
    virtual const FontMetrics& metrics() const = 0;
    // `baseline` is the y of the text's base line.
    virtual void drawText(Point baseline, std::string_view utf8) = 0;

    // Clipping meets the current clip; restoreClip returns to the one before.
    virtual void clipTo(const Rect& rect) = 0;
    virtual void restoreClip() = 0;
    // The clip in the coordinates of the current origin.
    virtual Rect clip() const = 0;
    // Moves the origin; everything drawn after is offset by (dx, dy).
    virtual void translate(std::int32_t dx, std::int32_t dy) = 0;
    virtual Point origin() const = 0;
};

// Saves the clip and the origin for a scope.
class GraphicsScope {
  public:
    GraphicsScope(Graphics& graphics, const Rect& clip)
        : m_graphics(graphics), m_origin(graphics.origin()) {
        graphics.clipTo(clip);
    }
    ~GraphicsScope() {
        Point now = m_graphics.origin();
        m_graphics.translate(m_origin.x - now.x, m_origin.y - now.y);
        m_graphics.restoreClip();
    }
    GraphicsScope(const GraphicsScope&) = delete;
    GraphicsScope& operator=(const GraphicsScope&) = delete;

  private:
    Graphics& m_graphics;
    Point m_origin;
};

}  // namespace qv::toolkit
