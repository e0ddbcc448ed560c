// FieldDef: one field of a table definition — its name (a String, or a
// FunctionSignature for a user function), its formulas by row key (0: the
// field's own formula, r >= 1: an override of data row r, -1: the summary
// row), and its visibility.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "core/VirtualVector.h"
#include "language/AbstractExpression.h"
#include "language/Comments.h"

namespace qv {

class TableDef;

class FieldDef final : public Object {
    QV_OBJECT(FieldDef, Object, "FieldDef")
  public:
    static constexpr std::int32_t kFormulaRow = 0;
    static constexpr std::int32_t kSummaryRow = -1;

    explicit FieldDef(TableDef* owner);
    // How a copy takes the formulas: cloned, or shared, which is safe as
    // formula trees are immutable and spares cloning every cell of a large
    // table for an undo step.
    enum class Formulas { Cloned, Shared };
    // A copy belonging to `owner`; formulas as asked, name and warning are kept.
    FieldDef(const FieldDef& other, TableDef* owner, Formulas formulas = Formulas::Cloned);

    const Pointer<Object>& name() const noexcept { return m_name; }
    void setName(const Pointer<Object>& name) { m_name = name; }
    // The name's text, trimmed; empty for an unnamed field.
    StringPointer nameText() const;
    bool isNamed() const { return nameText()->length() > 0; }
    const StringPointer& warning() const noexcept { return m_warning; }
    void setWarning(const StringPointer& warning) { m_warning = warning; }

    const Pointer<VirtualVector>& expr() const noexcept { return m_expr; }
    ExpressionPointer formula(std::int32_t rowKey) const {
        return cast<AbstractExpression>(m_expr->get(rowKey));
    }
    void setFormula(std::int32_t rowKey, const ExpressionPointer& formula) {
        m_expr->set(rowKey, formula);
    }

    TableDef* owner() const noexcept { return m_owner; }
    void setOwner(TableDef* owner) noexcept { m_owner = owner; }
    std::int32_t isVisible() const noexcept { return m_isVisible; }
    void setVisible(std::int32_t visible) noexcept { m_isVisible = visible; }
    bool dontOverride() const noexcept { return m_dontOverride; }
    void setDontOverride(bool value) noexcept { m_dontOverride = value; }
    // Written before the field's line and at its end.
    const ItemComments& comments() const noexcept { return m_comments; }
    void setComments(const ItemComments& comments) { m_comments = comments; }

    // The text that introduces the field: "name:=", "[name]:= " or nothing.
    StringPointer writeHeader() const;
    StringPointer describe() const override;

  private:
    Pointer<Object> m_name;
    StringPointer m_warning;
    Pointer<VirtualVector> m_expr;
    ItemComments m_comments;
    TableDef* m_owner;  // not owning: the table owns its fields
    std::int32_t m_isVisible = 1;
    bool m_dontOverride = true;
};

// Indents every line of a text by `width` blanks.
std::string indentLines(std::string_view text, int width);

}  // namespace qv
