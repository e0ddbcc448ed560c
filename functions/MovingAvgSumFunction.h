// MovingAvgSumFunction ("mavg"): per row, the mean of the second argument over
// a window of rows ending at that row; the first argument gives the window.
// Items are numbered 1 ... count; their values are stored at index - 1.
#pragma once

#include <cstdint>

#include "functions/DoubleArray.h"
#include "functions/SumFunction.h"

namespace qv {

class MovingAvgSumFunction final : public SumFunction {
    QV_OBJECT(MovingAvgSumFunction, SumFunction, "MovingAvgSumFunction")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "mavg"; }
    std::int32_t arity() const override { return 2; }
    void start(std::int32_t count) override;
    // The window of the last item counts; an index outside 1 ... count is
    // ignored.
    void add(std::int32_t index, Arguments arguments) override;
    // Replaces the values by their moving averages.
    void finish() override;
    // The average at row - 1, or the null object outside 1 ... count.
    Pointer<Object> result(std::int32_t row) const override;
    bool isPerRow() const override { return true; }

  private:
    DoubleArray m_values;
    std::int32_t m_window = 1;
    bool m_finished = false;
};

}  // namespace qv
