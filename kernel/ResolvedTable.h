// ResolvedTable: one table of a linked program — its fields with inherited
// and overriding ones in place, the marker fields and row names, the
// program-wide identifier map, and the compiled calculator of every cell.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/Hashtable.h"
#include "core/TVector.h"
#include "kernel/AbstractCalculator.h"
#include "kernel/ReferenceObserver.h"
#include "kernel/ResolvedField.h"
#include "kernel/RowLimits.h"
#include "language/FunctionSignature.h"
#include "language/TableDef.h"

namespace qv {

class ResolvedProgram;

class ResolvedTable final : public Object {
    QV_OBJECT(ResolvedTable, Object, "ResolvedTable")
  public:
    ResolvedTable(ResolvedProgram* linked, const Pointer<TableDef>& definition, std::int32_t index);

    ResolvedProgram& linked() const noexcept { return *m_linked; }
    const Pointer<TableDef>& definition() const noexcept { return m_definition; }
    std::int32_t index() const noexcept { return m_index; }
    const Pointer<ResolvedTable>& base() const noexcept { return m_base; }
    const Pointer<Warning>& warning() const noexcept { return m_warning; }
    void setWarning(const Pointer<Warning>& warning) { m_warning = warning; }

    std::int32_t fieldCount() const noexcept { return m_fields->size(); }
    // The fields the table defines, inherited ones included: fieldCount(),
    // except for a table past the field budget, which keeps none of them.
    std::int64_t declaredFieldCount() const noexcept {
        return m_declaredFields >= 0 ? m_declaredFields : fieldCount();
    }
    const Pointer<ResolvedField>& field(std::int32_t index) const { return (*m_fields)[index]; }
    const std::vector<std::int32_t>& visibleFields() const noexcept { return m_visibleFields; }
    std::int32_t ownVisibleCount() const noexcept { return m_ownVisibleCount; }
    std::int32_t headerCount() const noexcept { return m_headerCount; }
    std::int32_t nameField() const noexcept { return m_nameField; }
    std::int32_t baseField() const noexcept { return m_baseField; }
    std::int32_t rows() const noexcept { return m_rows; }

    std::int32_t fieldIndexOf(std::string_view name) const;
    // The row key of a row name; the summary row may have a name too.
    std::optional<std::int32_t> rowIndexOf(std::string_view name) const;
    // The field of a program-wide identifier number, or -1.
    std::int32_t fieldOfIdentifier(std::int32_t identifier) const noexcept {
        if (identifier < 0 || identifier >= static_cast<std::int32_t>(m_identifierMap.size()))
            return -1;
        return m_identifierMap[static_cast<std::size_t>(identifier)];
    }
    // The field defined with this function name and parameter count, or -1.
    std::int32_t functionFieldOf(std::string_view name, std::int32_t parameters) const;
    // The signature of a field that defines a user function, or the null object.
    const Pointer<FunctionSignature>& signatureOf(std::int32_t field) const;
    // True when the field's definition belongs to this table.
    bool definesField(std::int32_t index) const;

    ExpressionPointer ownFormula(std::int32_t field, std::int32_t rowKey) const;
    ExpressionPointer formulaOf(std::int32_t field, std::int32_t rowKey) const;
    ExpressionPointer cellFormula(std::int32_t field, std::int32_t rowKey) const;
    // The calculator of a cell, or the null object when it has no formula.
    const CalculatorPointer& calculatorAt(std::int32_t field, std::int32_t rowKey) const;
    // True when the cell has a calculator of its own, not the formula row's.
    bool hasOwnCalculator(std::int32_t field, std::int32_t rowKey) const;
    // True when some data row of the field has a calculator of its own.
    bool hasRowOverrides(std::int32_t field) const;
    // The definition to change when the user edits a cell of the field.
    Pointer<FieldDef> fieldForEdit(std::int32_t index);

    // Linking steps, run by the program in order.
    void setBase(const Pointer<ResolvedTable>& base) { m_base = base; }
    Object* baseResolutionSlot() const noexcept { return m_baseResolution.object(); }
    void setBaseResolution(const Pointer<Object>& value) { m_baseResolution = value; }
    const Pointer<Object>& baseResolution() const noexcept { return m_baseResolution; }
    // Draws its fields from the program's `budget`.
    void resolve(Hashtable& registry, FieldBudget& budget);
    // With an observer, it is told what each name of each formula resolves to.
    void compile(ReferenceObserver* observer = nullptr);

    StringPointer describe() const override;

  private:
    void inheritBaseFields(Hashtable& registry, FieldBudget& budget);
    std::int64_t countDeclaredFields() const;
    void addOwnFields(Hashtable& ownNames);
    void computeVisibility();
    void registerNames(Hashtable& registry);
    void findMarkers();
    void buildRowIndex();
    void appendField(const Pointer<ResolvedField>& field);
    std::int32_t columnOf(const StringPointer& name) const;

    ResolvedProgram* m_linked;  // not owning: the program owns its tables
    Pointer<TVector<ResolvedField>> m_fields;
    Pointer<TableDef> m_definition;
    Pointer<ResolvedTable> m_base;
    Pointer<Warning> m_warning;
    Pointer<Hashtable> m_fieldIndex;
    std::vector<std::int32_t> m_visibleFields;
    // The compiled cells of one field. Most fields have a formula-row
    // calculator serving every data row; cell overrides are kept sparse so
    // a million-row table costs nothing per row here.
    struct FieldCalculators {
        CalculatorPointer summary;
        CalculatorPointer formula;
        std::unordered_map<std::int32_t, CalculatorPointer> rows;
        // The keys of `rows` lie in first ... last: most rows of a column
        // with a few overrides are told apart without a lookup.
        std::int32_t firstRow = std::numeric_limits<std::int32_t>::max();
        std::int32_t lastRow = 0;
    };
    const CalculatorPointer& slot(std::int32_t field, std::int32_t rowKey) const;
    void setSlot(std::int32_t field, std::int32_t rowKey, const CalculatorPointer& calculator);
    void compileField(std::int32_t index, ReferenceObserver* observer);

    std::vector<FieldCalculators> m_calculators;
    std::vector<Pointer<FunctionSignature>> m_signatures;
    Pointer<Object> m_baseResolution;
    Pointer<Hashtable> m_rowIndex;
    std::vector<std::int32_t> m_identifierMap;
    std::int32_t m_index;
    std::int32_t m_headerCount = 0;
    std::int32_t m_nameField = -1;
    std::int32_t m_baseField = -1;
    std::int32_t m_rows = 1;
    // Set when the field budget refused the table's fields; -1 otherwise.
    std::int64_t m_declaredFields = -1;
    std::int32_t m_ownVisibleCount = 0;
    bool m_resolved = false;
};

}  // namespace qv
