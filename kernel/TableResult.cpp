#include "kernel/TableResult.h"

#include <algorithm>
#include <string>

#include "core/Errors.h"
#include "core/TextBudget.h"
#include "core/ValueConversions.h"
#include "functions/RandomGenerator.h"
#include "functions/Trajectory2D.h"
#include "kernel/RangeValues.h"
#include "kernel/RecomputePlan.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/RowLimits.h"
#include "kernel/RowSort.h"
#include "kernel/ShowEvaluatables.h"

namespace qv {

namespace {
std::int64_t nextSerial() {
    static std::int64_t serial = 0;
    return ++serial;
}
}  // namespace

TableResult::TableResult(ProgramResult& results, ResultOptions options,
                         const Pointer<ResolvedTable>& table, std::int32_t index,
                         std::int64_t rowCap)
    : m_results(&results),
      m_options(std::move(options)),
      m_table(table),
      m_cells(
          table->fieldCount(),
          static_cast<std::int32_t>(std::max<std::int64_t>(
              1, std::min<std::int64_t>(clampRows(table->rows(), table->fieldCount()), rowCap))),
          NullResult::instance()),
      m_variesByRow(static_cast<std::size_t>(table->fieldCount())),
      m_index(index),
      m_serial(nextSerial()),
      m_overBudget(rowCap < clampRows(table->rows(), table->fieldCount())) {}

Object* TableResult::cachedVariesByRow(std::int32_t field) const noexcept {
    if (field < 0 || field >= static_cast<std::int32_t>(m_variesByRow.size())) return nullObject();
    return m_variesByRow[static_cast<std::size_t>(field)].object();
}

void TableResult::storeVariesByRow(std::int32_t field, const Pointer<Object>& value) {
    if (field < 0 || field >= static_cast<std::int32_t>(m_variesByRow.size())) return;
    m_variesByRow[static_cast<std::size_t>(field)] = value;
}

Pointer<Object> TableResult::computeCell(std::int32_t field, std::int32_t row,
                                         Evaluator& evaluator) {
    ResultEvaluatable cell(*m_results, this, evaluator, field, row);
    return evaluateAsValue(evaluator, cell);
}

// Not a refused field, a marker or a function's field: what
// ResultEvaluatable::computeAlternative tests before it asks the calculator.
bool TableResult::isPlainField(std::int32_t field) const {
    if (field < 0 || field >= fieldCount()) return false;
    auto index = static_cast<std::size_t>(field);
    if (m_plainFields.size() != static_cast<std::size_t>(fieldCount()))
        m_plainFields.assign(static_cast<std::size_t>(fieldCount()), kUnknown);
    if (m_plainFields[index] == kUnknown) {
        bool plain = m_table->field(field)->warning().isNull() && field != m_table->nameField() &&
                     functionDefinition(field, 0).isNull();
        m_plainFields[index] = plain ? kPlain : kNotPlain;
    }
    return m_plainFields[index] == kPlain;
}

// A calculator that gives a plain number from cells already computed has
// read nothing else and raised nothing: the evaluator would only have
// marked the cell as being computed and stored the same number.
Pointer<Object> TableResult::fillCell(std::int32_t field, std::int32_t row, bool plainField,
                                      Evaluator& evaluator) {
    ResultEvaluatable cell(*m_results, this, evaluator, field, row);
    if (plainField && evaluator.numberShortcuts() && !evaluator.stopRequested()) {
        const CalculatorPointer& calculator = calculatorAt(field, row);
        cell.knowCalculator(calculator);
        double number = 0;
        if (!calculator.isNull() && calculator->alternativeCount() == 1 &&
            calculator->evaluateNumber(cell, number)) {
            m_cells.setNumber(field, row, number);
            return {};
        }
    }
    return evaluateAsValue(evaluator, cell);
}

void TableResult::growRows(std::int32_t rows) {
    m_cells.growRows(rows);
}

// Pass 1: range fields compute their formula-row cell, so the next pass
// knows how many rows each generates.
Pointer<Object> TableResult::evaluateRanges(Evaluator& evaluator) {
    for (std::int32_t field = 0; field < fieldCount(); ++field) {
        const CalculatorPointer& formula = calculatorAt(field, 0);
        if (formula.isNull() || !formula->isRange()) continue;
        Pointer<Object> value = computeCell(field, 0, evaluator);
        if (isRaised(value)) return value;
    }
    std::int32_t marker = m_table->baseField();
    if (marker < 0) return {};
    for (std::int32_t row = -1; row < rowCount(); ++row) {
        const CalculatorPointer& calculator = calculatorAt(marker, row);
        if (calculator.isNull() || !calculator->isRange()) continue;
        Pointer<Object> value = computeCell(marker, row, evaluator);
        if (isRaised(value)) return value;
    }
    return {};
}

// Pass 2: the bounded range fields generate the cross product of their
// values, the first one varying fastest; unbounded ones fill the rows there are.
void TableResult::generateRows(Evaluator&) {
    forgetEarlyCells();
    struct RangeField {
        std::int32_t field;
        Pointer<Object> range;
        double count;
    };
    std::vector<RangeField> ranges;
    double product = 0;
    for (std::int32_t field = 0; field < fieldCount(); ++field) {
        Object* value = cachedCellUnlessNumber(field, 0);
        if (!value->isInstanceOf(SpannerResult::typeId())) continue;
        double count = static_cast<const SpannerResult*>(value)->spanCount();
        ranges.push_back({field, Pointer<Object>(value), count});
        if (count > 0) product = count * (product != 0 ? product : 1);
    }
    std::int64_t limit = rowLimit(fieldCount());
    std::int64_t generated = static_cast<std::int64_t>(product);
    if (product > static_cast<double>(limit)) {
        // Nothing of that size is allocated: the bounded range fields say why
        // and generate nothing.
        auto warning = make<Warning>(tooManyRowsMessage(product, limit));
        for (const RangeField& range : ranges) {
            if (range.count > 0) storeCell(range.field, 0, warning);
        }
        generated = 0;
    }
    m_generatedRows = generated;
    if (rowCount() < generated + 1) growRows(static_cast<std::int32_t>(generated + 1));
    std::int64_t stride = 1;
    for (const RangeField& range : ranges) {
        const auto* spanner = static_cast<const SpannerResult*>(range.range.object());
        // Only a count within the limit generates rows; a larger one only
        // moves the stride, which stops at the limit.
        auto cycle = static_cast<std::int64_t>(
            range.count == 0 ? 1 : std::min(range.count, static_cast<double>(kMaxRows + 1)));
        for (std::int32_t row = 1; row < rowCount(); ++row) {
            if (m_table->hasOwnCalculator(range.field, row)) continue;
            if (range.count == 0 || row < generated + 1) {
                auto position = static_cast<std::int32_t>(((row - 1) / stride) % cycle);
                storeCell(range.field, row, spanner->valueAt(position, row - 1, rowCount()));
            } else {
                storeCell(range.field, row, NullResult::instance());
            }
        }
        stride = std::min<std::int64_t>(stride * cycle, kMaxRows + 1);
    }
}

// Cells computed while the range fields were evaluated read this table
// before its rows existed (a range bounded by a total, say); they are
// computed again in the fill pass. Only the range cells themselves stay.
void TableResult::forgetEarlyCells() {
    ++m_cellEpoch;
    std::int32_t marker = m_table->baseField();
    for (std::int32_t field = 0; field < fieldCount(); ++field) {
        const CalculatorPointer& formula = calculatorAt(field, 0);
        bool rangeField = !formula.isNull() && formula->isRange();
        for (std::int32_t row = -1; row < rowCount(); ++row) {
            if (cellIsEmpty(field, row)) continue;
            if (row == 0 && rangeField) continue;
            if (field == marker) {
                const CalculatorPointer& calculator = calculatorAt(field, row);
                if (!calculator.isNull() && calculator->isRange()) continue;
            }
            storeCell(field, row, Pointer<Object>());
        }
    }
}

Pointer<Object> TableResult::functionDefinition(std::int32_t field, std::int32_t row) const {
    static const Pointer<Object> definitionText = make<StringSpecialValue>(str("(Function def)"));
    if (m_table->signatureOf(field).isNull() || !m_table->field(field)->warning().isNull()) {
        return {};
    }
    return calculatorAt(field, row).isNull() ? Pointer<Object>(str("")) : definitionText;
}

void TableResult::fillFunctionDefinitions() {
    for (std::int32_t field = 0; field < fieldCount(); ++field) {
        if (functionDefinition(field, 0).isNull()) continue;
        for (std::int32_t row = -1; row < rowCount(); ++row)
            storeCell(field, row, functionDefinition(field, row));
    }
}

// Pass 3: every cell gets its value. A cell that cannot differ from its
// field's formula row repeats that value instead of computing it again.
Pointer<Object> TableResult::fillCells(Evaluator& evaluator) {
    fillFunctionDefinitions();
    bool recordCompound = !m_options.hideRepeats;
    for (std::int32_t field = 0; field < fieldCount(); ++field) {
        bool varies = ShouldShowAllEvaluatable::decide(*this, field, evaluator);
        bool plain = isPlainField(field);
        bool repeats = !varies && !m_table->hasRowOverrides(field);
        // The summary row last, so that a default summary reads stored rows.
        for (std::int32_t row = 0; row < rowCount(); ++row) {
            // Data rows never computed on their own all show the formula row.
            if (row == 1 && repeats && m_cells.repeatFormulaRow(field)) break;
            if (!cellIsEmpty(field, row)) continue;
            if (row == 0 || varies || m_table->hasOwnCalculator(field, row)) {
                Pointer<Object> value = fillCell(field, row, plain, evaluator);
                if (isRaised(value)) return value;
            } else {
                copyCell(field, 0, row);
            }
        }
        if (cellIsEmpty(field, -1)) {
            Pointer<Object> value = computeCell(field, -1, evaluator);
            if (isRaised(value)) return value;
        }
        if (!recordCompound) continue;
        for (std::int32_t row = -1; row < rowCount(); ++row) {
            if (!isCompound(*cachedCellUnlessNumber(field, row))) continue;
            auto index = static_cast<std::size_t>(row + 1);
            if (m_rowInfos.size() <= index) m_rowInfos.resize(index + 1);
            if (m_rowInfos[index].isNull()) m_rowInfos[index] = make<RowInfo>();
            m_rowInfos[index]->compoundFields.push_back(field);
        }
    }
    return {};
}

void TableResult::relink(const Pointer<ResolvedTable>& table) {
    m_table = table;
    m_plainFields.clear();
    // Aggregates cached for the cells before the edit are made again.
    ++m_cellEpoch;
}

void TableResult::forgetStale(std::int32_t field, const StaleCells& stale) {
    if (!stale.whole) {
        for (std::int32_t row : stale.rows)
            storeCell(field, row, Pointer<Object>());
        return;
    }
    m_cells.clearColumn(field);
    storeVariesByRow(field, Pointer<Object>());
}

// The fill pass for the stale cells of one field, in the same order.
Pointer<Object> TableResult::refillStale(std::int32_t field, const StaleCells& stale,
                                         Evaluator& evaluator) {
    if (!functionDefinition(field, 0).isNull()) {
        for (std::int32_t row = -1; row < rowCount(); ++row)
            storeCell(field, row, functionDefinition(field, row));
        return {};
    }
    bool varies = ShouldShowAllEvaluatable::decide(*this, field, evaluator);
    bool plain = isPlainField(field);
    auto refill = [&](std::int32_t row) -> Pointer<Object> {
        if (!cellIsEmpty(field, row)) return {};
        if (row == 0 || varies || m_table->hasOwnCalculator(field, row)) {
            Pointer<Object> value = fillCell(field, row, plain, evaluator);
            if (isRaised(value)) return value;
        } else {
            copyCell(field, 0, row);
        }
        return {};
    };
    if (stale.whole) {
        for (std::int32_t row = 0; row < rowCount(); ++row) {
            if (Pointer<Object> raised = refill(row); !raised.isNull()) return raised;
        }
    } else {
        for (std::int32_t row : stale.rows) {
            if (row <= 0 || row >= rowCount()) continue;
            if (Pointer<Object> raised = refill(row); !raised.isNull()) return raised;
        }
    }
    if (cellIsEmpty(field, -1)) {
        Pointer<Object> value = computeCell(field, -1, evaluator);
        if (isRaised(value)) return value;
    }
    return {};
}

namespace {
void releaseReachable(const Object& value);
}  // namespace

void TableResult::releaseCells() {
    if (m_released) return;
    m_released = true;
    Pointer<TableResult> keep(this);  // the cells may hold the last reference
    CellValues cells = std::move(m_cells);
    m_cells = CellValues(fieldCount(), 1, NullResult::instance());
    cells.drain([](const Object& value) { releaseReachable(value); });
}

namespace {
// Follows a value to the table results it refers to.
void releaseReachable(const Object& value) {
    // Most cells hold plain values: one test tells them apart.
    if (value.isNull() || !value.isInstanceOf(AbstractResultGetter::typeId())) return;
    TableResult* table = static_cast<const AbstractResultGetter&>(value).sourceTable();
    if (table != nullptr) table->releaseCells();
}
}  // namespace

bool TableResult::isCompound(const Object& value) const {
    return value.isInstanceOf(AbstractResultGetter::typeId()) ||
           value.isInstanceOf(Trajectory2D::typeId()) || value.isInstanceOf(Vector::typeId());
}

const Pointer<RowInfo>& TableResult::rowInfo(std::int32_t row) const {
    static const Pointer<RowInfo> empty = make<RowInfo>();
    auto index = static_cast<std::size_t>(row + 1);
    if (row < -1 || index >= m_rowInfos.size() || m_rowInfos[index].isNull()) return empty;
    return m_rowInfos[index];
}

// The show decisions, here beside the cache of the per-field one.
Pointer<Object> ShouldShowAllEvaluatable::cachedValue() const {
    return Pointer<Object>(m_table.cachedVariesByRow(m_field));
}

void ShouldShowAllEvaluatable::setCachedValue(const Pointer<Object>& value) {
    m_table.storeVariesByRow(m_field, value);
}

// Inside a computation the decision is evaluated without evaluateTop, which
// would forget the alternatives pending on the way here. A decision that
// meets a cycle counts as "may differ".
bool ShouldShowAllEvaluatable::decide(TableResult& table, std::int32_t field,
                                      Evaluator& evaluator) {
    if (field < 0 || field >= table.fieldCount()) return false;
    Object* cached = table.cachedVariesByRow(field);
    if (cached->isInstanceOf(Boolean::typeId())) return static_cast<Boolean*>(cached)->value();
    ShouldShowAllEvaluatable evaluatable(table, field);
    Pointer<Object> decision = evaluator.depth() == 0 ? evaluator.evaluateTop(evaluatable)
                                                      : evaluator.evaluate(evaluatable);
    if (isRaised(decision)) {
        evaluator.takeRaised();
        return true;
    }
    return !is<Boolean>(decision) || cast<Boolean>(decision)->value();
}

Pointer<Object> ShouldShowEvaluatable::computeAlternative(Evaluator& evaluator, std::int32_t) {
    bool shown = m_row <= 0 || m_table.resolved()->hasOwnCalculator(m_field, m_row) ||
                 ShouldShowAllEvaluatable::decide(m_table, m_field, evaluator);
    return Boolean::of(shown);
}

bool TableResult::isShown(std::int32_t field, std::int32_t row) {
    TextBudgetScope texts(m_options.textBudget);
    Evaluator evaluator;
    ShouldShowEvaluatable cell(*this, field, row);
    Pointer<Object> shown = evaluator.evaluateTop(cell);
    return !is<Boolean>(shown) || cast<Boolean>(shown)->value();
}

Pointer<Object> TableResult::value(std::int32_t field, std::int32_t row) {
    if (Pointer<Object> cached = cachedCell(field, row); !cached.isNull()) return cached;
    if (field == m_table->nameField()) return rowName(row);
    TextBudgetScope texts(m_options.textBudget);
    Evaluator evaluator;
    evaluator.setStopFlag(m_options.stop);
    return computeCell(field, row, evaluator);
}

StringPointer TableResult::rowName(std::int32_t row) const {
    if (m_table->nameField() < 0) return str("");
    ExpressionPointer formula = m_table->formulaOf(m_table->nameField(), row);
    StringPointer name = formula.isNull() ? StringPointer() : formula->nameText();
    return name.isNull() ? str("") : name;
}

Pointer<Object> TableResult::displayValue(std::int32_t field, std::int32_t row, bool elide) {
    if (row >= rowCount()) return make<NullResult>();
    if (m_options.hideRepeats) {
        static const Pointer<Object> elided = make<StringSpecialValue>(str("..."));
        bool shown = isShown(field, row);
        if (!shown && elide) return elided;
        Pointer<Object> cell = value(field, row);
        if (shown && isCompound(*cell.object())) return elided;
        return cell;
    }
    return value(field, row);
}

StringPointer TableResult::rowLabel(std::int32_t row) {
    if (row == rowCount()) return str("*");
    if (m_table->nameField() >= 0) {
        StringPointer text = toText(value(m_table->nameField(), row));
        if (text->length() > 0) return text;
    }
    if (row == -1) return str("sum");
    if (row == 0) return str("base");
    return str(std::to_string(row));
}

std::int32_t TableResult::displayRow(std::int32_t position) const {
    if (position <= 0) return position;
    if (!m_displayOrder.empty()) {
        if (position > static_cast<std::int32_t>(m_displayOrder.size())) return position;
        return m_displayOrder[static_cast<std::size_t>(position - 1)];
    }
    if (sortDescending() && position < rowCount()) return rowCount() - position;
    return position;
}

// Pass 4 and sorting: without a sort field the data rows keep their order
// (reversed when descending); the order is only stored when sorted.
void TableResult::orderRows() {
    m_displayOrder.clear();
    std::int32_t sortBy = sortField();
    if (sortBy < 0 || sortBy >= fieldCount()) return;
    m_displayOrder.reserve(static_cast<std::size_t>(std::max(0, rowCount() - 1)));
    for (std::int32_t row = 1; row < rowCount(); ++row)
        m_displayOrder.push_back(row);
    std::vector<Pointer<Object>> keys(static_cast<std::size_t>(rowCount()));
    for (std::int32_t row = 1; row < rowCount(); ++row) {
        keys[static_cast<std::size_t>(row)] = value(sortBy, row);
    }
    sortRowsByValue(m_displayOrder, keys);
    if (sortDescending()) std::reverse(m_displayOrder.begin(), m_displayOrder.end());
}

std::int32_t TableResult::dataRowCount() const {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(definition()->numRows() - 1, rowLimit(fieldCount())));
}

bool TableResult::overrides(std::int32_t field) const {
    if (field < 0 || field >= fieldCount()) return false;
    return !m_table->field(field)->overridden().isNull();
}

bool TableResult::isMarkerOrRange(std::int32_t field) {
    if (field == m_table->nameField() || field == m_table->baseField()) return true;
    return cachedCellUnlessNumber(field, 0)->isInstanceOf(SpannerResult::typeId());
}

Pointer<Object> TableResult::warning() const {
    const Pointer<TableDef>& table = definition();
    if (!table->tableNameError().isNull()) return make<Warning>(toText(table->tableNameError()));
    if (!table->baseNameError().isNull()) return make<Warning>(toText(table->baseNameError()));
    const Pointer<Object>& base = m_table->baseResolution();
    if (is<Warning>(base) || is<SpecialValue>(base)) return base;
    if (!m_table->warning().isNull()) return m_table->warning();
    if (m_overBudget) {
        return make<Warning>(str("too many cells: the tables of this program pass the limit of " +
                                 std::to_string(kMaxProgramCells)));
    }
    std::int64_t limit = rowLimit(fieldCount());
    if (m_table->rows() > limit + 1) {
        return make<Warning>(tooManyRowsMessage(static_cast<double>(m_table->rows()) - 1, limit));
    }
    return Pointer<Object>();
}

StringPointer TableResult::name() const {
    StringPointer name = definition()->tableName();
    return name.isNull() ? str("") : name;
}

StringPointer TableResult::baseName() const {
    StringPointer name = definition()->baseName();
    return name.isNull() ? str("") : name;
}

std::int32_t TableResult::baseFieldCount() const {
    return m_table->base().isNull() ? 0 : m_table->base()->fieldCount();
}

bool TableResult::isVisible(std::int32_t field) const {
    if (field < 0 || field >= fieldCount()) return true;
    return m_table->field(field)->visible();
}

std::int32_t TableResult::visibleField(std::int32_t position) const {
    const auto& visible = m_table->visibleFields();
    if (position < 0 || position >= static_cast<std::int32_t>(visible.size())) return -1;
    return visible[static_cast<std::size_t>(position)];
}

StringPointer TableResult::fieldName(std::int32_t field) const {
    if (field < 0 || field >= fieldCount()) return str("");
    return m_table->field(field)->definition()->nameText();
}

Pointer<Object> TableResult::getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) {
    std::int32_t field = m_table->fieldOfIdentifier(identifier);
    if (field < 0) throwString(str("identifier not found in table ") + name());
    ResultEvaluatable cell(*m_results, this, context.evaluator(), field, 0);
    return context.evaluator().evaluate(cell);
}

bool TableResult::hasIndex(std::int32_t index) {
    return index >= 1 && index < rowCount();
}

std::int32_t TableResult::extent() {
    return rowCount() - 1;
}

StringPointer TableResult::toString() const {
    return name();
}

}  // namespace qv
