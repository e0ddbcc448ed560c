// Calculators of calls written with an argument list: find, local tables,
// user functions, library functions, and aggregates over the arguments or
// over the rows of the current table.
#pragma once

#include <cstdint>
#include <vector>

#include "functions/Function.h"
#include "functions/SumFunction.h"
#include "kernel/AbstractCalculator.h"
#include "kernel/CellPlace.h"
#include "kernel/LocalCallSite.h"

namespace qv {

class Evaluator;

class FindFunctionCalculator final : public AbstractCalculator {
    QV_OBJECT(FindFunctionCalculator, AbstractCalculator, "FindFunctionCalculator")
  public:
    explicit FindFunctionCalculator(const CalculatorPointer& condition) : m_condition(condition) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext&) const override { return true; }
    bool shouldShow(EvaluationContext&) const override { return false; }

  private:
    CalculatorPointer m_condition;
};

struct LocalTableField {
    CalculatorPointer value;
    std::int32_t field;
};

// A what-if: the table computed anew with some fields given. `call` is the
// call's source text, which names the cells of the tables it makes. The
// record of the errors met lives as long as the linked program: every
// computation of one program meets the same errors.
class LocalTableCalculator final : public AbstractCalculator {
    QV_OBJECT(LocalTableCalculator, AbstractCalculator, "LocalTableCalculator")
  public:
    LocalTableCalculator(std::vector<LocalTableField> fields, std::int32_t table,
                         const StringPointer& call)
        : m_fields(std::move(fields)), m_table(table), m_site(call, table) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    std::vector<LocalTableField> m_fields;
    std::int32_t m_table;
    mutable LocalCallSiteSlot m_site;
};

class UserFuncCalculator final : public AbstractCalculator {
    QV_OBJECT(UserFuncCalculator, AbstractCalculator, "UserFuncCalculator")
  public:
    UserFuncCalculator(const Pointer<CalculatorList>& arguments, std::int32_t field)
        : m_arguments(arguments), m_field(field) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    Pointer<CalculatorList> m_arguments;
    std::int32_t m_field;
};

class BuildInFuncCalculator final : public AbstractCalculator {
    QV_OBJECT(BuildInFuncCalculator, AbstractCalculator, "BuildInFuncCalculator")
  public:
    BuildInFuncCalculator(const Pointer<CalculatorList>& arguments,
                          const Pointer<Function>& function)
        : m_arguments(arguments), m_function(function) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool evaluateNumber(EvaluationContext& context, double& number) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    Pointer<CalculatorList> m_arguments;
    Pointer<Function> m_function;
};

// An aggregate over the call's own argument values.
class LocalSumFuncCalculator final : public AbstractCalculator {
    QV_OBJECT(LocalSumFuncCalculator, AbstractCalculator, "LocalSumFuncCalculator")
  public:
    LocalSumFuncCalculator(const Pointer<SumFunction>& function,
                           const Pointer<CalculatorList>& arguments)
        : m_function(function), m_arguments(arguments) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    Pointer<SumFunction> m_function;
    Pointer<CalculatorList> m_arguments;
};

// An aggregate of the arguments evaluated in every data row of the current
// table, computed once per table result and answered for each row.
class ScanningSumFuncCalculator final : public AbstractCalculator, public CachingCalculator {
    QV_OBJECT(ScanningSumFuncCalculator, AbstractCalculator, "ScanningSumFuncCalculator")
  public:
    // Drops the cached aggregate: its values may refer to the results that
    // the calculator belongs to, a cycle no count would end.
    void forget() const override {
        m_aggregate = Pointer<SumFunction>();
        m_failure = Pointer<Object>();
        m_failureKind = Failure::None;
        m_servedSerial = -1;
    }
    ScanningSumFuncCalculator(const Pointer<SumFunction>& function,
                              const Pointer<CalculatorList>& arguments)
        : m_function(function), m_arguments(arguments) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool evaluateNumber(EvaluationContext& context, double& number) const override;
    bool shouldShowAll(EvaluationContext&) const override { return m_function->isPerRow(); }
    bool shouldShow(EvaluationContext&) const override { return false; }

  private:
    Pointer<SumFunction> m_function;
    Pointer<CalculatorList> m_arguments;
    // The aggregate of the table result it last served, identified by that
    // result's serial number (a pointer could be reused by a later result)
    // and the epoch of its cells.
    mutable Pointer<SumFunction> m_aggregate;
    mutable std::int64_t m_servedSerial = -1;
    mutable std::int32_t m_servedEpoch = -1;
    // A scan that failed fails the same way for every row, without scanning again.
    enum class Failure { None, Message, Warning, Special };
    mutable Failure m_failureKind = Failure::None;
    mutable Pointer<Object> m_failure;
    // The cell that held the failure, when it began there.
    mutable CellPlace m_failurePlace;

    Pointer<Object> scan(EvaluationContext& context) const;
    // Whether the cached aggregate is the one for the context's table.
    bool serves(const EvaluationContext& context) const;
    Pointer<Object> probeWithoutRows(EvaluationContext& context) const;
    Pointer<Object> repeatFailure(Evaluator& evaluator) const;
};

}  // namespace qv
