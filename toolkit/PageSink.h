// Painting pages instead of a window: a PDF document or a printer takes
// pages one after the other, each painted through the same drawing surface
// as the work area. Sizes are in the work area's pixels (1/96 inch), so a
// grid prints as large as it shows; the backend scales them to the device.
#pragma once

#include <functional>

#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

namespace qv::toolkit {

class PageSink {
  public:
    virtual ~PageSink() = default;
    // The printable part of every page (inside the margins).
    virtual Size pageSize() const = 0;
    // Starts the next page; its surface is valid until endPage. The first
    // clip is the printable part, with its top left corner at (0, 0).
    virtual Graphics& beginPage() = 0;
    virtual void endPage() = 0;
};

// Paints every page into the sink; false when it stopped before the last
// (the user asked it to), which leaves nothing written.
using PagePainter = std::function<bool(PageSink&)>;

}  // namespace qv::toolkit
