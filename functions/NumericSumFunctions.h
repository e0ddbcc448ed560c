// The aggregates over numbers that return one new Double: "sum", "avg" (the
// mean over the count given to start) and "wavg" (the mean of the first
// argument weighted by the second).
#pragma once

#include <cstdint>

#include "functions/SumFunction.h"

namespace qv {

class SumFunc_sum final : public SumFunction {
    QV_OBJECT(SumFunc_sum, SumFunction, "SumFunc_sum")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    void addNumber(std::int32_t, double number) override { m_total += number; }
    const char* name() const override { return "sum"; }
    void start(std::int32_t count) override;
    void add(std::int32_t index, Arguments arguments) override;
    Pointer<Object> result(std::int32_t row) const override;

  private:
    double m_total = 0;
};

class AvgSumFunction final : public SumFunction {
    QV_OBJECT(AvgSumFunction, SumFunction, "AvgSumFunction")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    void addNumber(std::int32_t, double number) override { m_total += number; }
    const char* name() const override { return "avg"; }
    void start(std::int32_t count) override;
    void add(std::int32_t index, Arguments arguments) override;
    // The total over the count; no items give not-a-number.
    Pointer<Object> result(std::int32_t row) const override;

  private:
    std::int32_t m_count = 0;
    double m_total = 0;
};

class WavgSumFunction final : public SumFunction {
    QV_OBJECT(WavgSumFunction, SumFunction, "WavgSumFunction")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "wavg"; }
    std::int32_t arity() const override { return 2; }
    void start(std::int32_t count) override;
    void add(std::int32_t index, Arguments arguments) override;
    // A total weight of 0 divides by zero (infinite or not-a-number).
    Pointer<Object> result(std::int32_t row) const override;

  private:
    double m_weights = 0;
    double m_weighted = 0;
};

}  // namespace qv
