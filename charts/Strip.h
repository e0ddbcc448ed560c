// One trajectory's run of points in the chart's point list (first and last
// inclusive) and the painter that draws it.
#pragma once

#include <cstdint>

#include "charts/StripPainter.h"
#include "core/Pointer.h"

namespace qv {

class Strip final : public Object {
    QV_OBJECT(Strip, Object, "Strip")
  public:
    Strip(std::int32_t first, std::int32_t last, const Pointer<StripPainter>& painter)
        : m_first(first), m_last(last), m_painter(painter) {}

    std::int32_t first() const noexcept { return m_first; }
    std::int32_t last() const noexcept { return m_last; }
    const Pointer<StripPainter>& painter() const noexcept { return m_painter; }

  private:
    std::int32_t m_first;
    std::int32_t m_last;
    Pointer<StripPainter> m_painter;
};

}  // namespace qv
