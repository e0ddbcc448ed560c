// A drawing surface that scales what the work area draws onto the
// window's surface: coordinates, clips and font sizes are multiplied by the
// zoom, while the views keep measuring text with the metrics of their own,
// unscaled fonts, so that a layout is the same at every factor. The origin
// is kept here in work-area pixels and every point is scaled whole, so
// rounding never adds up along a chain of translations.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "desktop/WorkAreaZoom.h"
#include "toolkit/Graphics.h"

namespace qv {

class ZoomedGraphics final : public toolkit::Graphics {
  public:
    // `metricsOf` measures an unscaled font, as the window does for layout.
    using MetricsSource =
        std::function<std::unique_ptr<toolkit::FontMetrics>(const toolkit::Font&)>;

    ZoomedGraphics(toolkit::Graphics& device, const WorkAreaZoom& zoom, MetricsSource metricsOf);

    void setColor(toolkit::Color color) override { m_device.setColor(color); }
    void drawLine(toolkit::Point from, toolkit::Point to) override;
    void drawRect(const toolkit::Rect& rect) override;
    void fillRect(const toolkit::Rect& rect) override;
    void fillEllipse(const toolkit::Rect& bounds) override;
    void drawPolyline(std::span<const toolkit::Point> points) override;
    void fillPolygon(std::span<const toolkit::Point> points) override;

    void setFont(const toolkit::Font& font) override;
    const toolkit::FontMetrics& metrics() const override;
    void drawText(toolkit::Point baseline, std::string_view utf8) override;

    void clipTo(const toolkit::Rect& rect) override;
    void restoreClip() override { m_device.restoreClip(); }
    toolkit::Rect clip() const override;
    void translate(std::int32_t dx, std::int32_t dy) override;
    toolkit::Point origin() const override { return m_origin; }

  private:
    toolkit::Point scaled(toolkit::Point point) const noexcept;
    toolkit::Rect scaled(const toolkit::Rect& rect) const noexcept;
    const std::vector<toolkit::Point>& scaled(std::span<const toolkit::Point> points);

    toolkit::Graphics& m_device;
    WorkAreaZoom m_zoom;
    MetricsSource m_metricsOf;
    toolkit::Point m_origin;
    // The fonts of this paint with their metrics: views switch between a
    // few fonts cell by cell, and measuring a font is not free.
    std::vector<std::pair<toolkit::Font, std::unique_ptr<toolkit::FontMetrics>>> m_known;
    const toolkit::FontMetrics* m_metrics = nullptr;
    std::vector<toolkit::Point> m_points;
};

}  // namespace qv
