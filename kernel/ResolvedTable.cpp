#include "kernel/ResolvedTable.h"

#include <algorithm>
#include <set>

#include "core/Errors.h"
#include "core/Number.h"
#include "kernel/LinkContext.h"
#include "kernel/RowLimits.h"
#include "language/ExpressionParser.h"
#include "language/ProgramDef.h"

namespace qv {

namespace {

std::int32_t lookup(const Hashtable& table, std::string_view name) {
    String key(name);
    key.retain();  // a probe on the stack; never released to zero
    Pointer<Object> found = table.get(Pointer<Object>(&key));
    return is<Integer>(found) ? cast<Integer>(found)->value() : -1;
}

// True when the first occurrence of "~" + marker ends exactly at the end.
bool endsWithMarker(std::string_view name, std::string_view marker) {
    std::string suffix = "~" + std::string(marker);
    std::size_t found = name.find(suffix);
    return found != std::string_view::npos && found + suffix.size() == name.size();
}

// A field name written as a call is a user function's signature. Names that
// merely contain blanks or operators stay plain names.
Pointer<FunctionSignature> signatureOfName(const Pointer<Object>& name, StringPointer& problem) {
    if (is<FunctionSignature>(name)) return cast<FunctionSignature>(name);
    if (!is<String>(name)) return {};
    Pointer<ParseResult> parsed = make<ExpressionParser>()->parseFieldName(cast<String>(name));
    if (is<FunctionSignature>(parsed->value())) return cast<FunctionSignature>(parsed->value());
    if (parsed->failed()) {
        std::string_view message = parsed->error()->view();
        if (message.find("function name parameters") != std::string_view::npos ||
            message.find("is repeated in function signature") != std::string_view::npos) {
            problem = parsed->error();
        }
    }
    return {};
}

}  // namespace

ResolvedTable::ResolvedTable(ResolvedProgram* linked, const Pointer<TableDef>& definition,
                             std::int32_t index)
    : m_linked(linked),
      m_fields(make<TVector<ResolvedField>>()),
      m_definition(definition),
      m_fieldIndex(make<Hashtable>()),
      m_rowIndex(make<Hashtable>()),
      m_index(index),
      m_rows(definition->numRows()) {}

std::int32_t ResolvedTable::fieldIndexOf(std::string_view name) const {
    return lookup(*m_fieldIndex, name);
}

std::optional<std::int32_t> ResolvedTable::rowIndexOf(std::string_view name) const {
    Pointer<Object> found = m_rowIndex->get(str(name));
    if (!is<Integer>(found)) return std::nullopt;
    return cast<Integer>(found)->value();
}

std::int32_t ResolvedTable::functionFieldOf(std::string_view name, std::int32_t parameters) const {
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        const auto& signature = signatureOf(i);
        if (!signature.isNull() && signature->argumentCount() == parameters &&
            signature->name()->equals(name)) {
            return i;
        }
    }
    return -1;
}

const Pointer<FunctionSignature>& ResolvedTable::signatureOf(std::int32_t field) const {
    static const Pointer<FunctionSignature> none;
    if (field < 0 || field >= static_cast<std::int32_t>(m_signatures.size())) return none;
    return m_signatures[static_cast<std::size_t>(field)];
}

bool ResolvedTable::definesField(std::int32_t index) const {
    if (index < 0 || index >= fieldCount()) return false;
    const auto& resolved = field(index);
    return !resolved->inherited() && resolved->definition()->owner() == m_definition.get();
}

void ResolvedTable::appendField(const Pointer<ResolvedField>& resolved) {
    if (!resolved->inherited()) resolved->setDefiningTable(this);
    m_fields->add(resolved);
}

// Resolving: inherit the base fields, add or override with the own ones,
// then visibility, the program-wide names, the markers and the row names.
void ResolvedTable::resolve(Hashtable& registry, FieldBudget& budget) {
    if (m_resolved) return;
    m_resolved = true;
    if (!m_base.isNull()) m_base->resolve(registry, budget);
    std::int64_t needed = m_definition->fieldCount() + (m_base.isNull() ? 0 : m_base->fieldCount());
    // A table extending a refused one would lack the fields it inherits.
    bool baseRefused = !m_base.isNull() && m_base->m_declaredFields >= 0;
    if (baseRefused || !budget.reserve(needed)) {
        // The table keeps no fields rather than exhausting memory.
        m_rows = m_definition->numRows();
        m_declaredFields = countDeclaredFields();
        m_warning = make<Warning>(str("too many fields: the program passes the limit of " +
                                      std::to_string(kMaxLinkedFields)));
        registerNames(registry);
        return;
    }
    inheritBaseFields(registry, budget);
    auto ownNames = make<Hashtable>();
    addOwnFields(*ownNames);
    computeVisibility();
    registerNames(registry);
    findMarkers();
    if (m_nameField >= 0) buildRowIndex();
}

// The fields the table would have: its base's, then its own except those
// that override a base field of their name. A base refused itself counts
// what it declares, though its names are unknown here.
std::int64_t ResolvedTable::countDeclaredFields() const {
    std::int64_t count = m_base.isNull() ? 0 : m_base->declaredFieldCount();
    auto ownNames = make<Hashtable>();
    for (std::int32_t position = 0; position < m_definition->fieldCount(); ++position) {
        StringPointer name = m_definition->field(position)->nameText();
        bool named = name->length() > 0;
        if (named && ownNames->containsKey(name)) {
            ++count;
            continue;
        }
        if (named) ownNames->put(name, name);
        if (named && !m_base.isNull() && m_base->fieldIndexOf(name->view()) >= 0) continue;
        ++count;
    }
    return count;
}

void ResolvedTable::inheritBaseFields(Hashtable& registry, FieldBudget& budget) {
    m_rows = m_definition->numRows();
    if (m_base.isNull()) return;
    m_base->resolve(registry, budget);
    m_rows = std::max(m_rows, m_base->rows());
    for (std::int32_t i = 0; i < m_base->fieldCount(); ++i) {
        const auto& baseField = m_base->field(i);
        appendField(baseField->inheritedCopy());
        m_signatures.push_back(m_base->signatureOf(i));
        StringPointer name = baseField->definition()->nameText();
        // A name the base defines twice stays with its first field there too.
        if (name->length() > 0 && !m_fieldIndex->containsKey(name)) {
            m_fieldIndex->put(name, make<Integer>(i));
        }
    }
}

void ResolvedTable::addOwnFields(Hashtable& ownNames) {
    for (std::int32_t position = 0; position < m_definition->fieldCount(); ++position) {
        const Pointer<FieldDef>& definition = m_definition->field(position);
        StringPointer name = definition->nameText();
        StringPointer problem;
        Pointer<FunctionSignature> signature = signatureOfName(definition->name(), problem);
        Pointer<Warning> warning = problem.isNull() ? Pointer<Warning>() : make<Warning>(problem);
        if (name->length() == 0) {
            appendField(make<ResolvedField>(definition, Pointer<ResolvedField>(), warning, position,
                                            false));
            m_signatures.push_back(signature);
            continue;
        }
        if (ownNames.containsKey(name)) {
            appendField(make<ResolvedField>(definition, Pointer<ResolvedField>(),
                                            make<Warning>(str("field name already defined")),
                                            position, false));
            m_signatures.push_back(signature);
            continue;
        }
        ownNames.put(name, name);
        std::int32_t existing = fieldIndexOf(name->view());
        if (existing >= 0) {
            // An override keeps the base field's column position.
            const auto& overridden = field(existing)->overridden();
            (*m_fields)[existing] =
                make<ResolvedField>(definition, overridden, warning, position, false);
            (*m_fields)[existing]->setDefiningTable(this);
            m_signatures[static_cast<std::size_t>(existing)] = signature;
            continue;
        }
        m_fieldIndex->put(name, make<Integer>(fieldCount()));
        appendField(
            make<ResolvedField>(definition, Pointer<ResolvedField>(), warning, position, false));
        m_signatures.push_back(signature);
    }
}

void ResolvedTable::computeVisibility() {
    m_visibleFields.clear();
    m_ownVisibleCount = 0;
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        const auto& resolved = field(i);
        std::int32_t flag = resolved->definition()->isVisible();
        bool visible =
            flag == 1 ||
            (flag == 2 && (resolved->overridden().isNull() || resolved->overridden()->visible()));
        resolved->setVisible(visible);
        if (!visible) continue;
        m_visibleFields.push_back(i);
        if (!resolved->inherited()) ++m_ownVisibleCount;
    }
}

void ResolvedTable::registerNames(Hashtable& registry) {
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        StringPointer name = field(i)->definition()->nameText();
        if (name->length() > 0 && !registry.containsKey(name)) {
            registry.put(name, make<Integer>(registry.size()));
        }
    }
    // A name given to two fields means the first, the one the table's own
    // formulas reach, so "t.name" and "name" inside t read the same cells.
    m_identifierMap.assign(static_cast<std::size_t>(registry.size()), -1);
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        StringPointer name = field(i)->definition()->nameText();
        if (name->length() == 0) continue;
        std::int32_t number = lookup(registry, name->view());
        if (number < 0) continue;
        std::int32_t& entry = m_identifierMap[static_cast<std::size_t>(number)];
        if (entry < 0) entry = i;
    }
}

void ResolvedTable::findMarkers() {
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        // The name text is a fresh string: keep it alive while it is viewed.
        StringPointer text = field(i)->definition()->nameText();
        std::string_view name = text->view();
        if (endsWithMarker(name, "name")) {
            m_nameField = i;
            m_headerCount = std::max(m_headerCount, i + 1);
        } else if (endsWithMarker(name, "base")) {
            m_baseField = i;
            m_headerCount = std::max(m_headerCount, i + 1);
        }
    }
}

void ResolvedTable::buildRowIndex() {
    m_rowIndex = make<Hashtable>();
    // Only keys that some definition of the chain holds can have a formula.
    std::set<std::int32_t> keys;
    for (const ResolvedField* chain = field(m_nameField).get(); chain != nullptr;) {
        for (std::int32_t key : chain->definition()->expr()->sortedIndexes())
            keys.insert(key);
        chain = chain->overridden().isNull() ? nullptr : chain->overridden().get();
    }
    for (std::int32_t key : keys) {
        if (key < -1 || key >= m_rows) continue;
        ExpressionPointer formula = field(m_nameField)->formulaAt(key);
        if (formula.isNull()) continue;
        StringPointer name = formula->nameText();
        if (!name.isNull()) m_rowIndex->put(name, make<Integer>(key));
    }
}

ExpressionPointer ResolvedTable::ownFormula(std::int32_t index, std::int32_t rowKey) const {
    if (!definesField(index)) return ExpressionPointer();
    return field(index)->definition()->formula(rowKey);
}

ExpressionPointer ResolvedTable::formulaOf(std::int32_t index, std::int32_t rowKey) const {
    if (index < 0 || index >= fieldCount()) return ExpressionPointer();
    return field(index)->formulaAt(rowKey);
}

ExpressionPointer ResolvedTable::cellFormula(std::int32_t index, std::int32_t rowKey) const {
    ExpressionPointer own = ownFormula(index, rowKey);
    if (!own.isNull()) return own;
    if (rowKey <= 0 || index == m_nameField || index == m_baseField) {
        if (m_base.isNull() || index >= m_base->fieldCount()) return ExpressionPointer();
        // The base tables between here and the one defining the field would
        // each only pass the question on: ask that table directly.
        ResolvedTable* owner = definesField(index) ? nullptr : field(index)->definingTable();
        if (owner != nullptr && owner != this && index < owner->fieldCount()) {
            return owner->cellFormula(index, rowKey);
        }
        return m_base->cellFormula(index, rowKey);
    }
    if (definesField(index)) return ownFormula(index, 0);
    if (m_baseField >= 0 && m_baseField < index) {
        ExpressionPointer marker = ownFormula(m_baseField, rowKey);
        return marker.isNull() ? ownFormula(m_baseField, 0) : marker;
    }
    return ExpressionPointer();
}

const CalculatorPointer& ResolvedTable::slot(std::int32_t index, std::int32_t rowKey) const {
    static const CalculatorPointer none;
    if (index < 0 || index >= static_cast<std::int32_t>(m_calculators.size())) return none;
    const FieldCalculators& calculators = m_calculators[static_cast<std::size_t>(index)];
    if (rowKey == 0) return calculators.formula;
    if (rowKey == -1) return calculators.summary;
    if (rowKey < calculators.firstRow || rowKey > calculators.lastRow) return none;
    auto found = calculators.rows.find(rowKey);
    return found == calculators.rows.end() ? none : found->second;
}

void ResolvedTable::setSlot(std::int32_t index, std::int32_t rowKey,
                            const CalculatorPointer& calculator) {
    FieldCalculators& calculators = m_calculators[static_cast<std::size_t>(index)];
    if (rowKey == 0) {
        calculators.formula = calculator;
    } else if (rowKey == -1) {
        calculators.summary = calculator;
    } else {
        calculators.rows[rowKey] = calculator;
        calculators.firstRow = std::min(calculators.firstRow, rowKey);
        calculators.lastRow = std::max(calculators.lastRow, rowKey);
    }
}

const CalculatorPointer& ResolvedTable::calculatorAt(std::int32_t index,
                                                     std::int32_t rowKey) const {
    const CalculatorPointer& own = slot(index, rowKey);
    if (!own.isNull()) return own;
    if (rowKey > 0 && index != m_baseField) {
        const CalculatorPointer& formula = slot(index, 0);
        if (!formula.isNull()) return formula;
    }
    if (m_baseField >= 0 && m_baseField < index) {
        const CalculatorPointer& marker = slot(m_baseField, rowKey);
        return marker.isNull() ? slot(m_baseField, 0) : marker;
    }
    static const CalculatorPointer none;
    return none;
}

bool ResolvedTable::hasOwnCalculator(std::int32_t index, std::int32_t rowKey) const {
    return rowKey > 0 && !slot(index, rowKey).isNull();
}

bool ResolvedTable::hasRowOverrides(std::int32_t index) const {
    if (index < 0 || index >= static_cast<std::int32_t>(m_calculators.size())) return false;
    if (!m_calculators[static_cast<std::size_t>(index)].rows.empty()) return true;
    // Rows of fields right of a base marker may take the marker's cells.
    return m_baseField >= 0 && m_baseField < index &&
           !m_calculators[static_cast<std::size_t>(m_baseField)].rows.empty();
}

void ResolvedTable::compile(ReferenceObserver* observer) {
    m_calculators.assign(static_cast<std::size_t>(fieldCount()), FieldCalculators{});
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        if (field(i)->warning().isNull()) compileField(i, observer);
    }
}

// Only a formula that the table itself sees at that cell is compiled here,
// so an inherited formula row is compiled again in the derived table (its
// names resolve there) while a base table's cell override is not inherited.
void ResolvedTable::compileField(std::int32_t index, ReferenceObserver* observer) {
    std::set<std::int32_t> keys;
    for (const ResolvedField* chain = field(index).get(); chain != nullptr;) {
        for (std::int32_t key : chain->definition()->expr()->sortedIndexes())
            keys.insert(key);
        chain = chain->overridden().isNull() ? nullptr : chain->overridden().get();
    }
    for (std::int32_t key : keys) {
        if (key < -1 || key >= m_rows) continue;
        ExpressionPointer formula = field(index)->formulaAt(key);
        if (formula.isNull() || formula.object() != cellFormula(index, key).object()) continue;
        auto context = make<LinkContext>(*m_linked, this, signatureOf(index));
        if (observer != nullptr) {
            observer->formula(*this, index, key, *formula);
            context->setObserver(observer);
        }
        CalculatorPointer calculator = formula->compile(*context);
        if (!context->unresolvedNames().isNull()) {
            calculator = warningCalculator(context->unresolvedMessage());
        }
        setSlot(index, key, calculator);
    }
}

Pointer<FieldDef> ResolvedTable::fieldForEdit(std::int32_t index) {
    // No column lies left of the first; a view that asks gets a message.
    if (index < 0) throwMessage("field not found");
    ProgramDef* program = m_definition->owner();
    while (index >= fieldCount()) {
        Pointer<FieldDef> added = m_definition->addField();
        if (program != nullptr) program->touch();
        appendField(make<ResolvedField>(added, Pointer<ResolvedField>(), Pointer<Warning>(),
                                        m_definition->fieldCount() - 1, false));
        m_signatures.push_back(Pointer<FunctionSignature>());
        if (index < fieldCount()) return added;
    }
    if (definesField(index)) return field(index)->definition();
    const Pointer<ResolvedField>& inherited = field(index);
    StringPointer name = inherited->definition()->nameText();
    if (name->length() == 0) throwMessage("can not overide unnamed field");
    Pointer<FieldDef> overriding = m_definition->addField();
    overriding->setName(name);
    // Editing a cell does not show or hide its column.
    overriding->setVisible(inherited->visible() ? 1 : 0);
    // The override takes the inherited field's place at once, so further
    // edits before the next link (a pasted block) reach this definition
    // instead of adding a second one of the same name.
    auto resolved = make<ResolvedField>(overriding, inherited->overridden(), Pointer<Warning>(),
                                        m_definition->fieldCount() - 1, false);
    resolved->setVisible(inherited->visible());
    resolved->setDefiningTable(this);
    (*m_fields)[index] = resolved;
    if (program != nullptr) program->touch();
    return overriding;
}

StringPointer ResolvedTable::describe() const {
    StringPointer name = m_definition->tableName();
    return str("ResolvedTable(") + (name.isNull() ? str("") : name) + ",fields=" + fieldCount() +
           ",rows=" + m_rows + ")";
}

}  // namespace qv
