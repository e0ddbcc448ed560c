#include "kernel/FindSearch.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "core/EngineeringFormat.h"
#include "core/Number.h"
#include "core/ValueConversions.h"
#include "kernel/ValueKinds.h"

namespace qv {

namespace {

// A slice of run(): short enough that a stop is heard soon.
constexpr std::int64_t kRunSlice = 1 << 18;

}  // namespace

const char* findKindName(FindKind kind) {
    // ORDER FIND KIND
    static constexpr const char* kNames[kFindKindCount] = {
        "table name", "field name", "row name", "formula", "value", "error", "text area"};
    return kNames[static_cast<std::size_t>(kind)];
}

FindSearch::FindSearch(Kernel& kernel, TextMatcher matcher, FindScope scope, std::uint32_t kinds,
                       std::vector<std::string> textAreas, std::size_t maxHits)
    : m_program(kernel.program()),
      m_linked(kernel.getLinked()),
      m_matcher(std::move(matcher)),
      m_scope(scope),
      m_kinds(kinds),
      m_textAreas(std::move(textAreas)),
      m_maxHits(maxHits),
      m_changeCount(kernel.getChangeCount()) {
    // Values are read only when asked for: the names and formulas need no
    // computation.
    if (wants(FindKind::Value) || wants(FindKind::Error) || wants(FindKind::RowName))
        m_results = kernel.getResults();
    std::int64_t expected = 1;
    for (std::int32_t table = 0; table < m_program->tableCount(); ++table) {
        if (!inTable(table)) continue;
        expected += m_program->table(table)->fieldCount() + 1;
        if (!m_results.isNull() && table < m_results->tableCount()) {
            const Pointer<TableResult>& result = m_results->getTable(table);
            expected += std::int64_t{result->rowCount() + 1} * result->visibleCount();
        }
    }
    if (m_scope.kind == FindScope::Kind::Model)
        expected += static_cast<std::int64_t>(m_textAreas.size());
    m_workExpected = expected;
    nextTable();
}

double FindSearch::progress() const {
    if (m_state != State::Running) return 1.0;
    return std::min(1.0, static_cast<double>(m_workDone) / static_cast<double>(m_workExpected));
}

// ---- the scope

bool FindSearch::inTable(std::int32_t table) const {
    return m_scope.kind == FindScope::Kind::Model || table == m_scope.table;
}

bool FindSearch::fieldInScope(std::int32_t field) const {
    return m_scope.kind != FindScope::Kind::Selection ||
           (field >= m_scope.firstField && field <= m_scope.lastField);
}

bool FindSearch::rowInScope(std::int32_t row) const {
    return m_scope.kind != FindScope::Kind::Selection ||
           (row >= m_scope.firstRow && row <= m_scope.lastRow);
}

// A field's own formula computes its data rows: it belongs to a selection
// of any of them.
bool FindSearch::formulaInScope(std::int32_t field, std::int32_t row) const {
    if (m_scope.kind != FindScope::Kind::Selection) return true;
    if (!fieldInScope(field)) return false;
    if (row == FieldDef::kFormulaRow) return m_scope.lastRow >= 0;
    return rowInScope(row);
}

// ---- the walk

FindSearch::State FindSearch::run(const std::atomic<bool>* stop,
                                  const std::function<void(double)>& progress) {
    while (m_state == State::Running) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
            this->stop();
            break;
        }
        advance(kRunSlice);
        if (progress) progress(this->progress());
    }
    return m_state;
}

FindSearch::State FindSearch::advance(std::int64_t budget) {
    while (m_state == State::Running && budget > 0) {
        if (m_inText && !drain(budget)) break;
        // A step that paused in a text has spent the budget.
        switch (m_phase) {
            case Phase::Names:
                stepNames(budget);
                break;
            case Phase::Formulas:
                stepFormulas(budget);
                break;
            case Phase::Values:
                stepValues(budget);
                break;
            case Phase::TextAreas:
                stepTextAreas(budget);
                break;
            case Phase::Finished:
                m_state = State::Done;
                break;
        }
    }
    return m_state;
}

void FindSearch::nextTable() {
    ++m_table;
    while (m_table < m_program->tableCount() && !inTable(m_table))
        ++m_table;
    m_item = 0;
    m_subItem = 0;
    if (m_table >= m_program->tableCount()) {
        bool areas = m_scope.kind == FindScope::Kind::Model && wants(FindKind::TextArea);
        m_phase = areas ? Phase::TextAreas : Phase::Finished;
        return;
    }
    m_phase = Phase::Names;
    enterTable();
}

// Maps the definition's fields to the result's numbering, and lists the
// cells to look at: the shown fields, the data rows (the formula row where
// there are none) and the summary row.
void FindSearch::enterTable() {
    const Pointer<TableDef>& definition = m_program->table(m_table);
    m_resultFields.assign(static_cast<std::size_t>(definition->fieldCount()), -1);
    m_fields.clear();
    m_rows.clear();
    if (m_table >= m_linked->tableCount()) return;
    const Pointer<ResolvedTable>& resolved = m_linked->table(m_table);
    for (std::int32_t field = 0; field < resolved->fieldCount(); ++field) {
        const FieldDef* own = resolved->field(field)->definition().get();
        for (std::int32_t d = 0; d < definition->fieldCount(); ++d) {
            if (definition->field(d).get() == own)
                m_resultFields[static_cast<std::size_t>(d)] = field;
        }
    }
    if (m_results.isNull() || m_table >= m_results->tableCount()) return;
    const Pointer<TableResult>& result = m_results->getTable(m_table);
    for (std::int32_t field : resolved->visibleFields()) {
        if (fieldInScope(field)) m_fields.push_back(field);
    }
    std::int32_t rows = result->rowCount();
    std::int32_t first = rows > 1 ? 1 : 0;
    std::int32_t last = rows > 1 ? rows - 1 : 0;
    if (m_scope.kind == FindScope::Kind::Selection) {
        first = std::max(first, m_scope.firstRow);
        last = std::min(last, m_scope.lastRow);
    }
    // Row keys as ranges: [first, last] then the summary row.
    m_rows = {first, last, rowInScope(-1) ? 1 : 0};
}

bool FindSearch::stepNames(std::int64_t& budget) {
    const Pointer<TableDef>& definition = m_program->table(m_table);
    if (m_item == 0) {
        ++m_item;
        m_workDone += 1;
        const StringPointer& name = definition->tableName();
        if (m_scope.kind != FindScope::Kind::Selection && wants(FindKind::TableName) &&
            !name.isNull()) {
            FindPlace place{FindKind::TableName, m_table};
            return examine(place, std::string_view(name->text(), name->length()), budget);
        }
        return true;
    }
    std::int32_t d = m_item - 1;
    if (d >= definition->fieldCount() || !wants(FindKind::FieldName)) {
        m_phase = Phase::Formulas;
        m_item = 0;
        m_subItem = -1;
        return true;
    }
    ++m_item;
    m_workDone += 1;
    std::int32_t field = m_resultFields[static_cast<std::size_t>(d)];
    if (!fieldInScope(field)) return true;
    StringPointer name = definition->field(d)->nameText();
    FindPlace place{FindKind::FieldName, m_table, field, d};
    return examine(place, std::string_view(name->text(), name->length()), budget);
}

// m_item: the field's definition index; m_subItem: the index into its
// formulas' row keys, -1 before they are listed.
bool FindSearch::stepFormulas(std::int64_t& budget) {
    const Pointer<TableDef>& definition = m_program->table(m_table);
    if (m_item >= definition->fieldCount() || !wants(FindKind::Formula)) {
        m_phase = Phase::Values;
        m_item = 0;
        m_subItem = 0;
        return true;
    }
    const Pointer<FieldDef>& field = definition->field(m_item);
    if (m_subItem < 0) {
        m_formulaKeys = field->expr()->sortedIndexes();
        // The field's own formula first, then the summary, then the rows.
        std::stable_partition(m_formulaKeys.begin(), m_formulaKeys.end(),
                              [](std::int32_t key) { return key == FieldDef::kFormulaRow; });
        m_subItem = 0;
    }
    if (m_subItem >= static_cast<std::int32_t>(m_formulaKeys.size())) {
        ++m_item;
        m_subItem = -1;
        return true;
    }
    std::int32_t row = m_formulaKeys[static_cast<std::size_t>(m_subItem++)];
    budget -= 1;
    std::int32_t resultField = m_resultFields[static_cast<std::size_t>(m_item)];
    if (!formulaInScope(resultField, row)) return true;
    ExpressionPointer formula = field->formula(row);
    if (formula.isNull()) return true;
    StringPointer text = formula->editText();
    FindPlace place{FindKind::Formula, m_table, resultField, m_item, row};
    return examine(place, std::string_view(text->text(), text->length()), budget);
}

// m_item: the row's position in the walk (the data rows, then the summary
// row); m_subItem: the position among the fields.
bool FindSearch::stepValues(std::int64_t& budget) {
    bool wanted = wants(FindKind::Value) || wants(FindKind::Error) || wants(FindKind::RowName);
    std::int32_t span = m_rows.empty() ? 0 : std::max(0, m_rows[1] - m_rows[0] + 1);
    std::int32_t positions = m_rows.empty() ? 0 : span + m_rows[2];
    if (!wanted || m_fields.empty() || m_item >= positions) {
        nextTable();
        return true;
    }
    TableResult& result = *m_results->getTable(m_table);
    const std::int32_t nameField = result.resolved()->nameField();
    const auto fieldCount = static_cast<std::int32_t>(m_fields.size());
    // The lean path: the cells of one row, until a match or the budget.
    while (budget > 0) {
        if (m_subItem >= fieldCount) {
            m_subItem = 0;
            if (++m_item >= positions) return true;
        }
        std::int32_t row = m_item < span ? m_rows[0] + m_item : -1;
        std::int32_t field = m_fields[static_cast<std::size_t>(m_subItem++)];
        budget -= 1;
        m_workDone += 1;
        Pointer<Object> computed = result.cachedCell(field, row);
        if (computed.isNull()) computed = result.value(field, row);
        Object* cached = computed.object();
        FindKind kind = field == nameField ? FindKind::RowName : FindKind::Value;
        if (!valueText(*cached, kind) || !wants(kind)) continue;
        FindPlace place{kind, m_table, field, -1, row};
        if (!examine(place, m_text, budget)) return false;
    }
    return true;
}

bool FindSearch::valueText(const Object& value, FindKind& kind) {
    if (value.isNull()) return false;
    if (value.classTypeId() == Double::typeId()) {
        if (!m_matcher.mayMatchNumbers()) return false;
        double number = static_cast<const Double&>(value).value();
        if (!m_textHoldsLastNumber || std::memcmp(&number, &m_lastNumber, sizeof number) != 0) {
            m_text.resize(kMaxEngineeringLength);
            m_text.resize(static_cast<std::size_t>(formatEngineering(m_text.data(), number)));
            m_lastNumber = number;
            m_textHoldsLastNumber = true;
        }
        return true;
    }
    m_textHoldsLastNumber = false;
    if (value.classTypeId() == String::typeId()) {
        const auto& text = static_cast<const String&>(value);
        m_text.assign(text.text(), static_cast<std::size_t>(text.length()));
        return m_text.size() > 0;
    }
    // A table or a plot in a cell shows as a view of its own, not as text.
    if (value.isInstanceOf(AbstractResultGetter::typeId())) return false;
    if (valueKind(value) == ValueKind::Error) kind = FindKind::Error;
    StringPointer text = toText(value);
    m_text.assign(text->text(), static_cast<std::size_t>(text->length()));
    return m_text.size() > 0;
}

bool FindSearch::stepTextAreas(std::int64_t& budget) {
    if (m_item >= static_cast<std::int32_t>(m_textAreas.size())) {
        m_phase = Phase::Finished;
        return true;
    }
    std::int32_t area = m_item++;
    m_workDone += 1;
    FindPlace place{FindKind::TextArea};
    place.textArea = area;
    return examine(place, m_textAreas[static_cast<std::size_t>(area)], budget);
}

std::string FindSearch::placeName(const FindPlace& place) const {
    auto textOf = [](const StringPointer& text) {
        return text.isNull() ? std::string() : text->toStdString();
    };
    if (place.kind == FindKind::TextArea) return "Text area " + std::to_string(place.textArea + 1);
    if (place.table < 0 || place.table >= m_program->tableCount()) return "?";
    std::string name = textOf(m_program->table(place.table)->tableName());
    if (place.kind == FindKind::TableName) return name;
    if (place.kind != FindKind::FieldName && place.row != 0)
        name += "[" + (place.row < 0 ? std::string("sum") : std::to_string(place.row)) + "]";
    if (place.kind == FindKind::RowName) return name;
    if (place.table < m_linked->tableCount() && place.field >= 0 &&
        place.field < m_linked->table(place.table)->fieldCount()) {
        const ResolvedField& field = *m_linked->table(place.table)->field(place.field);
        name += "." + textOf(field.definition()->nameText());
    }
    return name;
}

// ---- matches

bool FindSearch::examine(const FindPlace& place, std::string_view text, std::int64_t& budget) {
    m_place = place;
    if (text.data() != m_text.data()) {
        m_text.assign(text);
        m_textHoldsLastNumber = false;
    }
    if (m_matches) {
        m_matches->reset(m_text);
    } else {
        m_matches.emplace(m_matcher, m_text);
    }
    m_inText = true;
    return drain(budget);
}

bool FindSearch::drain(std::int64_t& budget) {
    for (;;) {
        switch (m_matches->next(budget)) {
            case TextMatcher::Matches::State::Found:
                record(m_matches->span());
                break;
            case TextMatcher::Matches::State::Paused:
                return false;
            case TextMatcher::Matches::State::Done:
                m_inText = false;
                return true;
        }
    }
}

// The excerpt is the match's line, cut to kExcerptContext bytes on each side.
void FindSearch::record(const TextMatcher::Span& span) {
    ++m_total;
    if (m_hits.size() >= m_maxHits) return;
    std::string_view text = m_text;
    std::size_t lineStart = 0;
    if (span.start > 0) {
        std::size_t feed = text.rfind('\n', span.start - 1);
        if (feed != std::string_view::npos) lineStart = feed + 1;
    }
    std::size_t lineEnd = text.find('\n', span.end);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    std::size_t from =
        std::max(lineStart, span.start > kExcerptContext ? span.start - kExcerptContext : 0);
    std::size_t to = std::min(lineEnd, span.end + kExcerptContext);
    to = std::max(to, span.end);
    FindHit hit{m_place,
                span,
                std::string(text.substr(from, to - from)),
                {span.start - from, span.end - from}};
    m_hits.push_back(std::move(hit));
}

}  // namespace qv
