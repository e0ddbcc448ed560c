// The box a whole chart fills, shared by the chart view of the work area and
// the exported picture so that both show the same: the widths it takes, the
// height that goes with a width, and the painting of the box (its
// background, then the plot).
#pragma once

#include <cstdint>

#include "charts/ChartModel.h"
#include "charts/ChartPlot.h"
#include "toolkit/Graphics.h"

namespace qv {

struct ChartBox {
    static constexpr std::int32_t kNarrowest = 120;
    static constexpr std::int32_t kWidest = 640;
    static constexpr toolkit::Color kBackground{255, 255, 255};

    // The height of a chart laid out by its width alone.
    static std::int32_t heightFor(std::int32_t width) noexcept;
    // The box for a width hint: the hint within the narrowest and widest.
    static toolkit::Size forWidth(std::int32_t widthHint) noexcept;
    // The box for a size given whole: widened to the smallest a chart takes.
    static toolkit::Size forSize(toolkit::Size size) noexcept;
    // Paints the chart of `model` into `area`, clipped to it; nothing when
    // the area is not within the graphics' clip.
    static void paint(toolkit::Graphics& graphics, ChartPlot& plot, const ChartModel& model,
                      const toolkit::Rect& area);
};

}  // namespace qv
