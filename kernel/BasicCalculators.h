// The calculators that names and literals compile to: constants, function
// parameters, fields and rows of the current table, other tables, names on
// the right of a dot, and "col".
#pragma once

#include <cstdint>

#include "kernel/AbstractCalculator.h"

namespace qv {

class ValueCalculator final : public AbstractCalculator {
    QV_OBJECT(ValueCalculator, AbstractCalculator, "ValueCalculator")
  public:
    explicit ValueCalculator(const Pointer<Object>& value) : m_value(value) {}
    const Pointer<Object>& value() const noexcept { return m_value; }
    Pointer<Object> evaluate(EvaluationContext&) const override { return m_value; }
    bool evaluateNumber(EvaluationContext&, double& number) const override;

  private:
    Pointer<Object> m_value;
};

class FuncParamCalculator final : public AbstractCalculator {
    QV_OBJECT(FuncParamCalculator, AbstractCalculator, "FuncParamCalculator")
  public:
    explicit FuncParamCalculator(std::int32_t position) : m_position(position) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;

  private:
    std::int32_t m_position;
};

class LocalFieldCalculator final : public AbstractCalculator {
    QV_OBJECT(LocalFieldCalculator, AbstractCalculator, "LocalFieldCalculator")
  public:
    explicit LocalFieldCalculator(std::int32_t field) : m_field(field) {}
    std::int32_t field() const noexcept { return m_field; }
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool evaluateNumber(EvaluationContext& context, double& number) const override;
    Pointer<Object> evaluateReference(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    std::int32_t m_field;
};

class LocalRowCalculator final : public AbstractCalculator {
    QV_OBJECT(LocalRowCalculator, AbstractCalculator, "LocalRowCalculator")
  public:
    explicit LocalRowCalculator(std::int32_t row) : m_row(row) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    Pointer<Object> evaluateReference(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext&) const override { return true; }
    bool shouldShow(EvaluationContext&) const override { return false; }

  private:
    std::int32_t m_row;
};

class ForienTableCalculator final : public AbstractCalculator {
    QV_OBJECT(ForienTableCalculator, AbstractCalculator, "ForienTableCalculator")
  public:
    explicit ForienTableCalculator(std::int32_t table) : m_table(table) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;

  private:
    std::int32_t m_table;
};

// A name on the right of a dot, looked up in whatever the left side gives.
class CalcTimeIdentifierCalculator final : public AbstractCalculator {
    QV_OBJECT(CalcTimeIdentifierCalculator, AbstractCalculator, "CalcTimeIdentifierCalculator")
  public:
    CalcTimeIdentifierCalculator(const StringPointer& name, std::int32_t identifier)
        : m_name(name), m_identifier(identifier) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    Pointer<Object> evaluateReference(EvaluationContext& context) const override;

  private:
    StringPointer m_name;
    std::int32_t m_identifier;
};

class ColFunctionCalculator final : public AbstractCalculator {
    QV_OBJECT(ColFunctionCalculator, AbstractCalculator, "ColFunctionCalculator")
  public:
    Pointer<Object> evaluate(EvaluationContext& context) const override;
};

}  // namespace qv
