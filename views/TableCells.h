// The cells of a table's grids: each reads from the table result it belongs
// to and hands edits to the model editor, so a grid never holds values of
// its own and never writes the model itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "kernel/TableResult.h"
#include "model/ModelEditor.h"
#include "views/CellModel.h"

namespace qv {

// A cell of one field (a field index, not a position) in one record; the
// record is a row key, -1 for the summary record.
class FieldCell : public CellModel {
    QV_ABSTRACT_OBJECT(FieldCell, CellModel)
  public:
    FieldCell(Pointer<TableResult> table, std::int32_t field, std::int32_t record)
        : m_table(std::move(table)), m_field(field), m_record(record) {}
    std::int32_t field() const noexcept { return m_field; }
    std::int32_t record() const noexcept { return m_record; }
    const Pointer<TableResult>& table() const noexcept { return m_table; }
    // The field; a named row's cell in the table's name field names the
    // row ("Prices[alpha]").
    std::string nameTarget() override;

  protected:
    // The row's name, when this is a named row's cell in the name field.
    std::optional<std::string> rowName() const;

    Pointer<TableResult> m_table;
    std::int32_t m_field;
    std::int32_t m_record;
};

// The computed value of a field in a record.
class ResultCell final : public FieldCell {
    QV_OBJECT(ResultCell, FieldCell, "ResultCell")
  public:
    using FieldCell::FieldCell;
    StringPointer text() override;
    StringPointer editText() override;
    bool isError() override;
    bool isSpecial() override;
    std::optional<double> number() override;
    // The cell holding this value's formula, which the grid edits when the
    // user types over a value; the null object for the summary record.
    Pointer<CellModel> formulaCell();
};

// The formula of a field in a record; editing sets that formula.
class ExpressionCell final : public FieldCell {
    QV_OBJECT(ExpressionCell, FieldCell, "ExpressionCell")
  public:
    using FieldCell::FieldCell;
    StringPointer text() override;
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override;
    // A named row's name renames the row.
    bool holdsName() override { return rowName().has_value(); }
};

class NameCell final : public FieldCell {
    QV_OBJECT(NameCell, FieldCell, "NameCell")
  public:
    NameCell(Pointer<TableResult> table, std::int32_t field)
        : FieldCell(std::move(table), field, 0) {}
    StringPointer text() override { return m_table->fieldName(m_field); }
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override {
        editor.setFieldName(*m_table, m_field, text);
    }
    // An inherited or overriding field renames its whole family, as from
    // the base table; a name that does not read is mended as before, by
    // typing.
    bool holdsName() override;
    // Only the table that defines a field first can leave it without a
    // name: the others are refused by the editor.
    bool mayClearName() override { return !m_table->overrides(m_field); }
};

class VisibleCell final : public FieldCell {
    QV_OBJECT(VisibleCell, FieldCell, "VisibleCell")
  public:
    VisibleCell(Pointer<TableResult> table, std::int32_t field)
        : FieldCell(std::move(table), field, 0) {}
    StringPointer text() override;
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override;
    std::optional<bool> booleanValue() override { return m_table->isVisible(m_field); }
    void setBoolean(ModelEditor& editor, bool value) override {
        editor.setVisible(*m_table, m_field, value);
    }
};

// A position past the last field or record. The first edit makes the real
// cell there (a new field, a new record) and hands it the text.
class EmptyCell final : public CellModel {
    QV_OBJECT(EmptyCell, CellModel, "EmptyCell")
  public:
    // What an edit writes into the new position.
    enum class Target : std::uint8_t { Formula, Name, Nothing };
    // `field` is -1 on the new-field line.
    EmptyCell(Pointer<TableResult> table, std::int32_t field, std::int32_t record, Target target)
        : m_table(std::move(table)), m_field(field), m_record(record), m_target(target) {}
    bool isEditable() const override { return m_target != Target::Nothing; }
    void setText(ModelEditor& editor, const StringPointer& text) override;
    std::int32_t field() const noexcept { return m_field; }
    std::int32_t record() const noexcept { return m_record; }
    Target target() const noexcept { return m_target; }

  private:
    Pointer<TableResult> m_table;
    std::int32_t m_field;
    std::int32_t m_record;
    Target m_target;
};

}  // namespace qv
