#include "kernel/CallCalculators.h"

#include <array>

#include "core/ValueConversions.h"
#include "core/Warning.h"
#include "kernel/LocalTableResult.h"
#include "kernel/OperatorCalculators.h"
#include "kernel/ProgramResult.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/RowLimits.h"
#include "kernel/TableResult.h"
#include "kernel/TableResultSlices.h"

namespace qv {

namespace {

// The evaluated arguments of one call; short lists stay on the stack. An
// argument that fails stops the evaluation of the rest, and the call fails.
class ArgumentValues {
  public:
    ArgumentValues(const CalculatorList& calculators, EvaluationContext& context)
        : m_count(static_cast<std::size_t>(calculators.size())) {
        if (m_count > m_inline.size()) m_spilled.resize(m_count);
        Pointer<Object>* values = data();
        for (std::size_t i = 0; i < m_count; ++i) {
            values[i] = evaluateOrNull(calculators[static_cast<std::int32_t>(i)], context);
            if (isRaised(values[i])) {
                m_failed = true;
                return;
            }
        }
    }
    Arguments span() const { return {data(), m_count}; }
    bool failed() const noexcept { return m_failed; }
    static Pointer<Object> failure() { return Pointer<Object>(raisedMarker()); }

  private:
    Pointer<Object>* data() {
        return m_count > m_inline.size() ? m_spilled.data() : m_inline.data();
    }
    const Pointer<Object>* data() const {
        return m_count > m_inline.size() ? m_spilled.data() : m_inline.data();
    }

    std::size_t m_count;
    bool m_failed = false;
    std::array<Pointer<Object>, 4> m_inline;
    std::vector<Pointer<Object>> m_spilled;
};

bool anyShowsAll(const CalculatorList& calculators, EvaluationContext& context) {
    for (const auto& calculator : calculators) {
        if (showsAll(calculator, context)) return true;
    }
    return false;
}

}  // namespace

Pointer<Object> FindFunctionCalculator::evaluate(EvaluationContext& context) const {
    TableResult* table = context.table();
    if (table != nullptr) {
        ResultEvaluatable row(context.results(), table, context.evaluator(), context.field(), 1);
        for (std::int32_t i = 1; i < table->rowCount(); ++i) {
            row.setRow(i);
            Pointer<Object> holds =
                m_condition.isNull() ? Pointer<Object>() : m_condition->evaluatePair(row, context);
            if (isRaised(holds)) return holds;
            if (conditionHolds(holds)) return make<TableResultRow>(Pointer<TableResult>(table), i);
        }
    }
    return make<Warning>(str("not found"));
}

Pointer<Object> LocalTableCalculator::evaluate(EvaluationContext& context) const {
    std::vector<LocalTableFieldValue> values;
    values.reserve(m_fields.size());
    for (const LocalTableField& field : m_fields) {
        Pointer<Object> value = evaluateOrNull(field.value, context);
        if (isRaised(value)) return value;
        values.push_back({std::move(value), field.field});
    }
    ProgramResult& results = context.results();
    const Pointer<ResolvedTable>& table = results.linked()->table(m_table);
    if (table.isNull()) return {};
    // A table that instantiates itself would recurse without end.
    Evaluator::Nesting nesting(context.evaluator());
    std::int64_t cells = static_cast<std::int64_t>(table->fieldCount()) *
                         (clampRows(table->rows(), table->fieldCount()) + 1);
    ProgramResult::LocalTableNesting local(results, m_table, cells);
    auto result =
        make<LocalTableResult>(results, results.options(), table, std::move(values), m_site);
    Pointer<Object> failure = result->compute(context.evaluator());
    if (isRaised(failure)) return failure;
    return result;
}

bool LocalTableCalculator::shouldShowAll(EvaluationContext& context) const {
    for (const LocalTableField& field : m_fields) {
        if (showsAll(field.value, context)) return true;
    }
    return false;
}

namespace {

// Installs a call's argument values in the context for the duration of the
// body, and puts the caller's back however the body ends.
class ArgumentScope {
  public:
    ArgumentScope(EvaluationContext& context, Arguments arguments)
        : m_context(context), m_saved(context.arguments()) {
        context.setArguments(arguments);
    }
    ~ArgumentScope() { m_context.setArguments(m_saved); }
    ArgumentScope(const ArgumentScope&) = delete;
    ArgumentScope& operator=(const ArgumentScope&) = delete;

  private:
    EvaluationContext& m_context;
    Arguments m_saved;
};

}  // namespace

Pointer<Object> UserFuncCalculator::evaluate(EvaluationContext& context) const {
    TableResult* table = context.table();
    if (table == nullptr) return {};
    CalculatorPointer body = table->calculatorAt(m_field, context.row());
    if (body.isNull()) return {};
    ArgumentValues arguments(*m_arguments, context);
    if (arguments.failed()) return ArgumentValues::failure();
    // The body is not cached, so a function calling itself is bounded here.
    Evaluator::Nesting nesting(context.evaluator());
    ProgramResult::CallNesting call(context.results());
    ArgumentScope scope(context, arguments.span());
    return body->evaluate(context);
}

bool UserFuncCalculator::shouldShowAll(EvaluationContext& context) const {
    return context.fieldVariesByRow(m_field) || anyShowsAll(*m_arguments, context);
}

Pointer<Object> BuildInFuncCalculator::evaluate(EvaluationContext& context) const {
    ArgumentValues arguments(*m_arguments, context);
    if (arguments.failed()) return ArgumentValues::failure();
    Pointer<Object> result = m_function->evaluate(context.field(), context.row(), arguments.span());
    if (!result->isInstanceOf(FunctionRequest::typeId())) return result;
    if (auto fetch = cast<FetchRequest>(result)) {
        return context.evaluateCell(fetch->column(), fetch->row());
    }
    return context.evaluator().raiseSpecial(cast<SpecialRequest>(result)->special());
}

// "row" and "prev + x" in a running total: the place functions without
// arguments, and the computed cell they ask for.
bool BuildInFuncCalculator::evaluateNumber(EvaluationContext& context, double& number) const {
    if (!m_function->isPlaceOnly() || m_arguments->size() != 0) return false;
    Pointer<Object> result = m_function->evaluate(context.field(), context.row(), {});
    if (result->classTypeId() == Double::typeId()) {
        number = static_cast<const Double&>(*result).value();
        return true;
    }
    auto fetch = cast<FetchRequest>(result);
    return !fetch.isNull() && context.cachedNumber(fetch->column(), fetch->row(), number);
}

bool BuildInFuncCalculator::shouldShowAll(EvaluationContext& context) const {
    return m_function->isRowDependent() || anyShowsAll(*m_arguments, context);
}

Pointer<Object> LocalSumFuncCalculator::evaluate(EvaluationContext& context) const {
    Pointer<SumFunction> aggregate = m_function->newAccumulator();
    aggregate->start(m_arguments->size());
    for (std::int32_t i = 0; i < m_arguments->size(); ++i) {
        Pointer<Object> value = evaluateOrNull((*m_arguments)[i], context);
        if (isRaised(value)) return value;
        aggregate->add(i, Arguments(&value, 1));
    }
    aggregate->finish();
    return aggregate->result(0);
}

bool LocalSumFuncCalculator::shouldShowAll(EvaluationContext& context) const {
    return m_function->isPerRow() || anyShowsAll(*m_arguments, context);
}

// A table read before its rows were generated has changed since.
bool ScanningSumFuncCalculator::serves(const EvaluationContext& context) const {
    TableResult* table = context.table();
    std::int64_t serial = table == nullptr ? 0 : table->serial();
    std::int32_t epoch = table == nullptr ? 0 : table->cellEpoch();
    return serial == m_servedSerial && epoch == m_servedEpoch;
}

// The rows of a sorted column or a moving average once the column is
// scanned: the aggregate's own numbers.
bool ScanningSumFuncCalculator::evaluateNumber(EvaluationContext& context, double& number) const {
    if (!context.arguments().empty() || !context.evaluator().numberShortcuts()) return false;
    if (m_aggregate.isNull() || m_failureKind != Failure::None || !serves(context)) return false;
    return m_aggregate->resultNumber(context.row(), number);
}

Pointer<Object> ScanningSumFuncCalculator::evaluate(EvaluationContext& context) const {
    // Inside a user function's body the arguments may read its parameters,
    // which differ from call to call: such an aggregate is never shared.
    // Explaining a cell scans afresh, so that the reads are seen, and leaves
    // the shared aggregate as it is.
    if (!context.arguments().empty() || context.evaluator().recording()) [[unlikely]] {
        Pointer<Object> scanned = scan(context);
        if (isRaised(scanned)) return scanned;
        return cast<SumFunction>(scanned)->result(context.row());
    }
    if (!serves(context)) {
        TableResult* table = context.table();
        m_servedSerial = table == nullptr ? 0 : table->serial();
        m_servedEpoch = table == nullptr ? 0 : table->cellEpoch();
        m_aggregate = Pointer<SumFunction>();
        m_failureKind = Failure::None;
        m_failure = Pointer<Object>();
    }
    if (m_failureKind != Failure::None) return repeatFailure(context.evaluator());
    if (m_aggregate.isNull()) {
        Evaluator& evaluator = context.evaluator();
        bool settled = evaluator.pendingAlternatives() == 0;
        Pointer<Object> scanned;
        try {
            scanned = scan(context);
        } catch (const StringPointer& message) {
            if (settled) m_failureKind = Failure::Message, m_failure = message;
            throw;
        }
        if (isRaised(scanned)) {
            if (settled) {
                m_failureKind = evaluator.raisedKind() == Evaluator::RaisedKind::Warning
                                    ? Failure::Warning
                                    : Failure::Special;
                m_failure = evaluator.raisedValue();
                m_failurePlace = evaluator.raisedPlace();
            }
            return scanned;
        }
        m_aggregate = cast<SumFunction>(scanned);
    }
    return m_aggregate->result(context.row());
}

// A table without data rows gives its aggregate nothing to read, so a
// formula such as "z := sum(C.z)" in C would hide its own cycle. The
// arguments are read once where the aggregate stands; only a cycle they
// close counts, any other failure of theirs adds nothing, as no row does.
Pointer<Object> ScanningSumFuncCalculator::probeWithoutRows(EvaluationContext& context) const {
    ArgumentValues arguments(*m_arguments, context);
    if (!arguments.failed()) return {};
    Evaluator& evaluator = context.evaluator();
    bool cycle = evaluator.raisedKind() == Evaluator::RaisedKind::Special &&
                 evaluator.raisedValue()->equals(*evaluator.circularValue());
    if (cycle) return ArgumentValues::failure();
    evaluator.takeRaised();
    return {};
}

// The filled aggregate, or the raised marker of an argument that failed.
Pointer<Object> ScanningSumFuncCalculator::scan(EvaluationContext& context) const {
    TableResult* table = context.table();
    if (table != nullptr && table->rowCount() <= 1) {
        Pointer<Object> cycle = probeWithoutRows(context);
        if (isRaised(cycle)) return cycle;
    }
    Pointer<SumFunction> aggregate = m_function->newAccumulator();
    std::int32_t rows = table == nullptr ? 0 : table->rowCount();
    aggregate->start(rows > 0 ? rows - 1 : 0);
    ResultEvaluatable row(context.results(), table, context.evaluator(), context.field(), 1);
    row.setArguments(context.arguments());
    // A column of computed numbers goes to the aggregate without boxes.
    const AbstractCalculator* single =
        m_arguments->size() == 1 && !(*m_arguments)[0].isNull() ? (*m_arguments)[0].get() : nullptr;
    for (std::int32_t i = 1; i < rows; ++i) {
        row.setRow(i);
        double number = 0;
        if (single != nullptr && single->evaluateNumber(row, number)) {
            aggregate->addNumber(i, number);
            continue;
        }
        ArgumentValues arguments(*m_arguments, row);
        if (arguments.failed()) return ArgumentValues::failure();
        aggregate->add(i, arguments.span());
    }
    aggregate->finish();
    return aggregate;
}

Pointer<Object> ScanningSumFuncCalculator::repeatFailure(Evaluator& evaluator) const {
    switch (m_failureKind) {
        case Failure::Message:
            throw cast<String>(m_failure);
        case Failure::Warning:
            return evaluator.raiseWarning(m_failure, m_failurePlace);
        default:
            return evaluator.raiseSpecial(m_failure, m_failurePlace);
    }
}

}  // namespace qv
