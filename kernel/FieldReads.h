// FieldReads: what every field of a linked program reads, recorded while the
// program is linked, so that after an edit only the fields that depend on
// what changed are computed again.
//
// A field reads other fields of its own table either in the reading cell's
// row only (a plain name under operators, conditionals and scalar
// functions) or in any row (a name inside an aggregate, the field itself
// through prev and next, a range's bounds). Anything whose reach cannot be
// told from the formula alone — another table, a row, a dot or an index
// (they reach whatever a value leads to), a selection, a local table, a
// user function, find, alternatives, a random draw — makes the field
// unbounded: it is computed again after every edit, and so is every field
// that reads it.
//
// The record also keeps what the results' shape rests on (names, bases,
// fields, rows) and the formula compiled at every cell, taken when the link
// was made: the model is edited in place, so a later look at it would see
// the edit rather than what was linked.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "kernel/ReferenceObserver.h"
#include "language/AbstractExpression.h"
#include "language/FieldDef.h"
#include "language/TableDef.h"

namespace qv {

class FuncStore;
class ResolvedTable;

struct FieldReads {
    std::vector<std::int32_t> sameRow;  // fields read in the reading cell's row
    std::vector<std::int32_t> anyRow;   // fields read in any row
    bool unbounded = false;
    bool range = false;  // its formula row is a range: it generates rows
    // Some data row has a formula of its own, which lets the field's value
    // differ by row, and so those of the fields that read it.
    bool overridden = false;
    // The formula compiled at each row key (-1 summary, 0 formula row).
    std::map<std::int32_t, ExpressionPointer> formulas;
    // What the column is: its definition and name.
    Pointer<FieldDef> definition;
    std::string name;
    bool hasWarning = false;
    bool definesFunction = false;
};

struct TableReads {
    bool present = false;  // false for a null table definition
    Pointer<TableDef> definition;
    std::string name;
    std::int32_t base = -1;
    std::int32_t rows = 1;
    std::int32_t nameField = -1;
    std::int32_t baseField = -1;
    std::int32_t headerCount = 0;
    bool hasWarning = false;
    std::vector<FieldReads> fields;
};

class ProgramReads final : public ReferenceObserver {
  public:
    explicit ProgramReads(const FuncStore& functions) : m_functions(functions) {}

    // Takes the shape of every table once the names are resolved; the
    // formulas arrive while the program is compiled; finish() reads the
    // last of them and which fields generate rows.
    // The tables in their program's order, null where a table is missing.
    void takeShape(const std::vector<const ResolvedTable*>& linked);
    void finish(const std::vector<const ResolvedTable*>& linked);

    const std::vector<TableReads>& tables() const noexcept { return m_tables; }

    void formula(const ResolvedTable& table, std::int32_t field, std::int32_t rowKey,
                 const AbstractExpression& formula) override;
    void identifier(const LinkContext& context, const IdentifierExpression& node,
                    NameResolution resolution) override;
    void member(const LinkContext&, const DotOperatorExpression&) override { m_unbounded = true; }
    void call(const LinkContext&, const FuncExpression&, NameResolution) override {
        m_unbounded = true;
    }
    void cell(const LinkContext&, const AtExpression&, std::int32_t, std::int32_t) override {
        m_unbounded = true;
    }
    void select(const LinkContext&, const SelectExpression&, std::int32_t) override {
        m_unbounded = true;
    }

  private:
    void readFormula();
    void walk(const AbstractExpression& node, bool sameRow);
    void walkCall(const FuncExpression& node, bool sameRow);
    void readName(const IdentifierExpression& node, bool sameRow);
    void addRead(std::int32_t field, bool sameRow);

    const FuncStore& m_functions;
    std::vector<TableReads> m_tables;
    // The formula being compiled and the names resolved in it.
    const AbstractExpression* m_formula = nullptr;
    std::int32_t m_table = -1;
    std::int32_t m_field = -1;
    std::int32_t m_rowKey = 0;
    bool m_unbounded = false;
    std::unordered_map<const IdentifierExpression*, NameResolution> m_names;
};

}  // namespace qv
