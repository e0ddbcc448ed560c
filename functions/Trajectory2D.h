// Trajectory2D: the value of "plot", a list of points (xs[i], ys[i]) in item
// order. A cell holding one shows "plot"; the chart view draws its points.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "functions/DoubleArray.h"

namespace qv {

class Trajectory2D final : public Object {
    QV_OBJECT(Trajectory2D, Object, "Trajectory2D")
  public:
    // `count` points at (0, 0); a negative count gives none.
    explicit Trajectory2D(std::int32_t count);

    std::int32_t pointCount() const noexcept { return m_xs.size(); }
    const DoubleArray& xs() const noexcept { return m_xs; }
    const DoubleArray& ys() const noexcept { return m_ys; }
    const StringPointer& name() const noexcept { return m_name; }
    // Sets point i (0-based); an index outside the points is ignored.
    void setPoint(std::int64_t index, double x, double y) noexcept;

    StringPointer toString() const override;

  private:
    DoubleArray m_xs;
    DoubleArray m_ys;
    StringPointer m_name;
};

}  // namespace qv
