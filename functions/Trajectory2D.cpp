#include "functions/Trajectory2D.h"

namespace qv {

Trajectory2D::Trajectory2D(std::int32_t count) : m_xs(count), m_ys(count), m_name(str("name")) {}

void Trajectory2D::setPoint(std::int64_t index, double x, double y) noexcept {
    if (!m_xs.contains(index)) return;
    m_xs[static_cast<std::int32_t>(index)] = x;
    m_ys[static_cast<std::int32_t>(index)] = y;
}

StringPointer Trajectory2D::toString() const {
    return str("plot");
}

}  // namespace qv
