// The chart aggregates: "plot" turns two columns into one Trajectory2D (the
// first argument as x, the second as y), and "collect" gathers the
// trajectories of a column into a Vector for a chart with several curves.
#pragma once

#include <cstdint>

#include "core/Vector.h"
#include "functions/SumFunction.h"
#include "functions/Trajectory2D.h"

namespace qv {

class PlotSumFunction final : public SumFunction {
    QV_OBJECT(PlotSumFunction, SumFunction, "PlotSumFunction")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "plot"; }
    std::int32_t arity() const override { return 2; }
    void start(std::int32_t count) override;
    // Sets point index - 1; an index outside 1 ... count is ignored.
    void add(std::int32_t index, Arguments arguments) override;
    // The trajectory itself (the null object before start).
    Pointer<Object> result(std::int32_t row) const override;

  private:
    Pointer<Trajectory2D> m_trajectory;
};

class CollectSumFunction final : public SumFunction {
    QV_OBJECT(CollectSumFunction, SumFunction, "CollectSumFunction")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "collect"; }
    void start(std::int32_t count) override;
    // Keeps the item only when it is a Trajectory2D.
    void add(std::int32_t index, Arguments arguments) override;
    // The Vector itself (the null object before start).
    Pointer<Object> result(std::int32_t row) const override;

  private:
    Pointer<Vector> m_trajectories;
};

}  // namespace qv
