#include "kernel/ResultEvaluatable.h"

#include "core/Errors.h"
#include "core/Number.h"
#include "kernel/ProgramResult.h"
#include "kernel/RangeValues.h"
#include "kernel/ShowEvaluatables.h"
#include "kernel/TableResult.h"

namespace qv {

ResultEvaluatable::ResultEvaluatable(ProgramResult& results, TableResult* table,
                                     Evaluator& evaluator, std::int32_t field, std::int32_t row)
    : m_results(results), m_table(table), m_evaluator(evaluator), m_field(field), m_row(row) {}

ResultEvaluatable::ResultEvaluatable(ProgramResult& results, Evaluator& evaluator,
                                     const CalculatorPointer& calculator)
    : m_results(results),
      m_table(nullptr),
      m_evaluator(evaluator),
      m_field(0),
      m_row(0),
      m_calculator(calculator),
      m_calculatorKnown(true) {}

Pointer<Object> ResultEvaluatable::cachedValue() const {
    if (m_table == nullptr) return {};
    return m_table->cachedCell(m_field, m_row);
}

void ResultEvaluatable::setCachedValue(const Pointer<Object>& value) {
    if (m_table != nullptr) m_table->storeCell(m_field, m_row, value);
}

// Cells of local tables and selections have no place of their own.
CellPlace ResultEvaluatable::place() const {
    if (m_table == nullptr) return {};
    std::int32_t index = m_table->index();
    if (index < 0 || index >= m_results.tableCount() ||
        m_results.getTable(index).get() != m_table) {
        return {};
    }
    return {index, m_field, m_row};
}

Pointer<Object> ResultEvaluatable::readersWarning(const Pointer<Object>& error) const {
    if (m_table == nullptr) return {};
    return m_table->readersWarning(m_field, m_row, error);
}

const CalculatorPointer& ResultEvaluatable::calculator() {
    if (!m_calculatorKnown) {
        m_calculator =
            m_table == nullptr ? CalculatorPointer() : m_table->calculatorAt(m_field, m_row);
        m_calculatorKnown = true;
    }
    return m_calculator;
}

std::int32_t ResultEvaluatable::alternativesOf() {
    const CalculatorPointer& own = calculator();
    return own.isNull() ? 1 : own->alternativeCount();
}

// A cell without a formula is empty, except a summary row, which totals
// its column. A field the linker refused (a repeated name, a bad signature)
// shows its warning in every cell, so the user sees why it has no values;
// the name marker shows the row names and a function's field its
// definition, never the values of their formulas, however the cell is reached.
Pointer<Object> ResultEvaluatable::computeAlternative(Evaluator& evaluator, std::int32_t index) {
    if (m_table != nullptr && m_field >= 0 && m_field < m_table->fieldCount() &&
        !m_table->isPlainField(m_field)) {
        const ResolvedTable& table = *m_table->resolved();
        const Pointer<Warning>& refused = table.field(m_field)->warning();
        if (!refused.isNull()) return refused;
        if (m_field == table.nameField()) return m_table->rowName(m_row);
        Pointer<Object> definition = m_table->functionDefinition(m_field, m_row);
        if (!definition.isNull()) return definition;
    }
    const CalculatorPointer& own = calculator();
    if (own.isNull()) {
        if (m_row == -1 && m_table != nullptr) return defaultSummary(*m_table, m_field, evaluator);
        return evaluator.nullResult();
    }
    if (sharesFormulaRow()) return formulaRowValue();
    if (own->alternativeCount() > 1) return own->alternativeAt(index)->evaluate(*this);
    return own->evaluate(*this);
}

// A data row without a formula of its own, in a field whose value cannot
// differ by row, is the formula row's value itself: computed once, the same
// object in every row, however the row is reached (a summary, another
// formula, the fill pass).
bool ResultEvaluatable::sharesFormulaRow() {
    if (m_table == nullptr || m_row <= 0) return false;
    // A field known to vary by row shares nothing, whatever the row holds.
    Object* known = m_table->cachedVariesByRow(m_field);
    if (known->classTypeId() == Boolean::typeId() && static_cast<const Boolean*>(known)->value())
        return false;
    return !m_table->resolved()->hasOwnCalculator(m_field, m_row) &&
           !ShouldShowAllEvaluatable::decide(*m_table, m_field, m_evaluator);
}

// An error in the formula row is shared as it stands, not turned into
// "depends on cell that contain error".
Pointer<Object> ResultEvaluatable::formulaRowValue() {
    ResultEvaluatable formulaRow(m_results, m_table, m_evaluator, m_field, 0);
    Pointer<Object> value = m_evaluator.evaluate(formulaRow);
    if (!isRaised(value)) return value;
    Object* stored = m_table->cachedCellUnlessNumber(m_field, 0);
    TypeId storedKind = m_evaluator.raisedKind() == Evaluator::RaisedKind::Warning
                            ? Warning::typeId()
                            : SpecialValue::typeId();
    if (!stored->isInstanceOf(storedKind)) return value;
    m_evaluator.takeRaised();
    return Pointer<Object>(stored);
}

Pointer<Object> ResultEvaluatable::evaluateCell(std::int32_t field, std::int32_t row) {
    ResultEvaluatable cell(m_results, m_table, m_evaluator, field, row);
    return m_evaluator.evaluate(cell);
}

bool ResultEvaluatable::cachedNumber(std::int32_t field, std::int32_t row, double& number) const {
    if (m_table == nullptr || !m_evaluator.numberShortcuts()) return false;
    return m_table->cachedNumber(field, row, number);
}

std::int32_t ResultEvaluatable::rowCount() const {
    return m_table == nullptr ? 0 : m_table->rowCount();
}

bool ResultEvaluatable::fieldVariesByRow(std::int32_t field) {
    if (m_table == nullptr) return false;
    return ShouldShowAllEvaluatable::decide(*m_table, field, m_evaluator);
}

StringPointer ResultEvaluatable::describe() const {
    StringPointer name = m_table == nullptr ? StringPointer() : m_table->definition()->tableName();
    return str("ResultEvaluatable(table=") + name + ",field=" + m_field + ",row=" + m_row + ")";
}

// A field's value may differ by row when it has no formula (its rows hold
// data), when some row has a formula of its own, when it generates rows,
// or when its formula reads anything that does. Defined here rather than
// with the decision: it asks the formula in a cell context, and cells ask
// for the decision, so the decision's file stays below the cell's.
Pointer<Object> ShouldShowAllEvaluatable::computeAlternative(Evaluator& evaluator, std::int32_t) {
    const ResolvedTable& table = *m_table.resolved();
    const CalculatorPointer& formula = m_table.calculatorAt(m_field, 0);
    bool varies = formula.isNull() || formula->isRange() || table.hasRowOverrides(m_field) ||
                  m_table.cachedCellUnlessNumber(m_field, 0)->isInstanceOf(SpannerResult::typeId());
    if (!varies) {
        ResultEvaluatable context(m_table.results(), &m_table, evaluator, m_field, 0);
        varies = formula->shouldShowAll(context);
    }
    return Boolean::of(varies);
}

Pointer<Object> evaluateAsValue(Evaluator& evaluator, AbstractEvaluatable& evaluatable) {
    if (evaluator.depth() == 0) return evaluator.evaluateTop(evaluatable);
    Pointer<Object> value = evaluator.evaluate(evaluatable);
    if (!isRaised(value) || evaluator.raisedCycleWithPending()) return value;
    return evaluator.takeRaised();
}

bool conditionHolds(const Pointer<Object>& value) {
    if (is<Warning>(value)) throwString(cast<Warning>(value)->message());
    return toBoolean(value);
}

namespace {
// The number of a numeric value (Double and Integer are final classes): a
// summary reads every row of its column.
bool numberIn(const Object& value, double& number) {
    TypeId kind = value.classTypeId();
    if (kind == Double::typeId()) {
        number = static_cast<const Double&>(value).value();
        return true;
    }
    if (kind != Integer::typeId()) return false;
    number = static_cast<const Integer&>(value).value();
    return true;
}
}  // namespace

// The sum of the numeric cells of a column, errors skipped: one numeric cell
// is its own sum, several give a Double added in row order. Rows already
// computed are read from the table without a trip through the evaluator.
Pointer<Object> defaultSummary(TableResult& table, std::int32_t field, Evaluator& evaluator) {
    Pointer<Object> first;
    double total = 0;
    std::int32_t numericCells = 0;
    for (std::int32_t row = 1; row < table.rowCount(); ++row) {
        double number = 0;
        // Most cells hold a number kept unboxed: no type test, no box.
        Object* stored = table.peekCell(field, row, number);
        if (stored == nullptr) {
            if (numericCells++ == 0) {
                first = make<Double>(number);
                total = number;
            } else {
                total += number;
            }
            continue;
        }
        Pointer<Object> value;
        if (numberIn(*stored, number)) {
            value = Pointer<Object>(stored);
        } else {
            // A computed cell that holds no number adds nothing; only a cell
            // not computed yet (or being computed: a cycle) is asked for.
            if (!stored->isNull() && stored != OnStack::instance().object()) continue;
            ResultEvaluatable cell(table.results(), &table, evaluator, field, row);
            value = evaluateAsValue(evaluator, cell);
            if (isRaised(value)) return value;
            if (!numberIn(*value.object(), number)) continue;
        }
        if (numericCells++ == 0) {
            first = value;
            total = number;
        } else {
            total += number;
        }
    }
    if (numericCells == 0) return evaluator.nullResult();
    return numericCells == 1 ? first : make<Double>(total);
}

}  // namespace qv
