// SimpleSumFunction: the aggregates that keep one value and fold every item
// into it with one operation, `combine`. The result is the kept object itself.
// Members: "concat", "_or", "_and", "min" and "max".
#pragma once

#include <cstdint>

#include "core/StringBuffer.h"
#include "functions/SumFunction.h"

namespace qv {

class SimpleSumFunction : public SumFunction {
    QV_ABSTRACT_OBJECT(SimpleSumFunction, SumFunction)
  public:
    // The accumulator becomes the null object.
    void start(std::int32_t count) override;
    // The first item is kept as it is; every later one is combined into it.
    void add(std::int32_t index, Arguments arguments) override;
    Pointer<Object> result(std::int32_t row) const override;

    // The new accumulator after `value`; neither argument is the null object
    // when called from `add`.
    virtual Pointer<Object> combine(const Pointer<Object>& value,
                                    const Pointer<Object>& accumulator) const = 0;
    const Pointer<Object>& accumulator() const noexcept { return m_accumulator; }

  protected:
    Pointer<Object> m_accumulator;
};

class SumFunc_concat final : public SimpleSumFunction {
    QV_OBJECT(SumFunc_concat, SimpleSumFunction, "SumFunc_concat")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "concat"; }
    void start(std::int32_t count) override;
    void add(std::int32_t index, Arguments arguments) override;
    void finish() override;
    Pointer<Object> result(std::int32_t row) const override;
    // The accumulator's text followed by the value's, without a separator.
    Pointer<Object> combine(const Pointer<Object>& value,
                            const Pointer<Object>& accumulator) const override;

  private:
    // From the second item on, the texts collect here and become one String
    // in `finish`: combining String by String would copy the growing text
    // once per item.
    Pointer<StringBuffer> m_text;
};

class SumFunc__or final : public SimpleSumFunction {
    QV_OBJECT(SumFunc__or, SimpleSumFunction, "SumFunc__or")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "_or"; }
    // Starts from false, so that no items give false.
    void start(std::int32_t count) override;
    bool wantsMore() const override;
    Pointer<Object> combine(const Pointer<Object>& value,
                            const Pointer<Object>& accumulator) const override;
};

class SumFunc__and final : public SimpleSumFunction {
    QV_OBJECT(SumFunc__and, SimpleSumFunction, "SumFunc__and")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "_and"; }
    // Starts from true, so that no items give true.
    void start(std::int32_t count) override;
    bool wantsMore() const override;
    Pointer<Object> combine(const Pointer<Object>& value,
                            const Pointer<Object>& accumulator) const override;
};

class SumFunc_min final : public SimpleSumFunction {
    QV_OBJECT(SumFunc_min, SimpleSumFunction, "SumFunc_min")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "min"; }
    // Of equal values the later one.
    Pointer<Object> combine(const Pointer<Object>& value,
                            const Pointer<Object>& accumulator) const override;
};

class SumFunc_max final : public SimpleSumFunction {
    QV_OBJECT(SumFunc_max, SimpleSumFunction, "SumFunc_max")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "max"; }
    // Of equal values the earlier one.
    Pointer<Object> combine(const Pointer<Object>& value,
                            const Pointer<Object>& accumulator) const override;
};

}  // namespace qv
