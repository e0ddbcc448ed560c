// The values that span rows: numeric ranges and data ranges. The row
// generator asks each for the value of every generated row.
#pragma once

#include <cstdint>

#include "core/Values.h"
#include "core/Vector.h"

namespace qv {

class SpannerResult : public SpecialValue {
    QV_ABSTRACT_OBJECT(SpannerResult, SpecialValue)
  public:
    // `cycle` is the position within this value's own count, `rowPosition`
    // the 0-based data row, `rowTotal` the rows including the formula row.
    virtual Pointer<Object> valueAt(std::int32_t cycle, std::int32_t rowPosition,
                                    std::int32_t rowTotal) const = 0;
    // The number of values; 0 for a range without a length of its own. A
    // whole number, which may pass any row limit: the row generator applies
    // the limit, so that a range read as a value costs nothing.
    virtual double spanCount() const = 0;
};

class Range : public SpannerResult {
    QV_ABSTRACT_OBJECT(Range, SpannerResult)
  public:
    Range(double count, double first, double second)
        : m_count(count), m_first(first), m_second(second) {}
    double spanCount() const override { return m_count; }
    StringPointer toString() const override { return str("(range)"); }

  protected:
    double m_count;
    double m_first;
    double m_second;
};

// count values from start to end.
class StartEndRange final : public Range {
    QV_OBJECT(StartEndRange, Range, "StartEndRange")
  public:
    StartEndRange(double count, double start, double end) : Range(count, start, end) {}
    Pointer<Object> valueAt(std::int32_t cycle, std::int32_t rowPosition,
                            std::int32_t rowTotal) const override;
};

// start, start + step, ... for as many rows as there are.
class StartStepSizeRange final : public Range {
    QV_OBJECT(StartStepSizeRange, Range, "StartStepSizeRange")
  public:
    StartStepSizeRange(double start, double step) : Range(0, start, step) {}
    Pointer<Object> valueAt(std::int32_t cycle, std::int32_t rowPosition,
                            std::int32_t rowTotal) const override;
};

// ..., end - step, end: the last row gets end.
class EndStepSizeRange final : public Range {
    QV_OBJECT(EndStepSizeRange, Range, "EndStepSizeRange")
  public:
    EndStepSizeRange(double end, double step) : Range(0, end, step) {}
    Pointer<Object> valueAt(std::int32_t cycle, std::int32_t rowPosition,
                            std::int32_t rowTotal) const override;
};

// The collected values of a result.
class DataRange final : public SpannerResult {
    QV_OBJECT(DataRange, SpannerResult, "DataRange")
  public:
    explicit DataRange(const Pointer<Vector>& values) : m_values(values) {}
    const Pointer<Vector>& values() const noexcept { return m_values; }
    Pointer<Object> valueAt(std::int32_t cycle, std::int32_t rowPosition,
                            std::int32_t rowTotal) const override;
    double spanCount() const override { return m_values->size(); }
    StringPointer toString() const override { return str("(data range)"); }

  private:
    Pointer<Vector> m_values;
};

}  // namespace qv
