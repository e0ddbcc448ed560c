// The boxed values Integer, Double and Boolean, and their abstract base
// Number. Numbers travel through containers and results boxed.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class Number : public Object {
    QV_ABSTRACT_OBJECT(Number, Object)
  public:
    virtual std::int32_t intValue() const noexcept = 0;
    virtual double doubleValue() const noexcept = 0;
};

class Integer final : public Number {
    QV_OBJECT(Integer, Number, "Integer")
  public:
    explicit Integer(std::int32_t value) noexcept : m_value(value) {}

    std::int32_t value() const noexcept { return m_value; }
    std::int32_t intValue() const noexcept override { return m_value; }
    double doubleValue() const noexcept override { return m_value; }
    std::int32_t hashCode() const noexcept override { return m_value; }
    bool equals(const Object& other) const noexcept override;
    Pointer<Object> plus(const Pointer<Object>& other) const override;
    StringPointer describe() const override;
    Pointer<Object> clone() const override;

  private:
    std::int32_t m_value;
};

class Double final : public Number {
    QV_OBJECT(Double, Number, "Double")
  public:
    explicit Double(double value) noexcept : m_value(value) {}
    // Converts a decimal text; throws "invalid number" when characters are left.
    static Pointer<Double> parse(const StringPointer& text);
    static double parseValue(std::string_view text);

    double value() const noexcept { return m_value; }
    std::int32_t intValue() const noexcept override;
    double doubleValue() const noexcept override { return m_value; }
    bool equals(const Object& other) const noexcept override;
    Pointer<Object> plus(const Pointer<Object>& other) const override;
    StringPointer toString() const override;
    Pointer<Object> clone() const override;

  private:
    double m_value;
};

class Boolean final : public Object {
    QV_OBJECT(Boolean, Object, "Boolean")
  public:
    explicit Boolean(bool value) noexcept : m_value(value) {}
    // Shared immutable instances; identity is not observable through equals.
    static const Pointer<Boolean>& of(bool value);

    bool value() const noexcept { return m_value; }
    // Two Booleans are equal when their values are.
    bool equals(const Object& other) const noexcept override;
    std::int32_t hashCode() const noexcept override { return m_value ? 1231 : 1237; }
    StringPointer toString() const override;
    Pointer<Object> clone() const override;

  private:
    bool m_value;
};

}  // namespace qv
