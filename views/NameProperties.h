// The names the properties view offers for a grid of a program table, as
// text rows after the view's flags: the table's name and the name of the
// field of the grid's selected cell. A name typed there is handed to the
// grid as if it had been typed into the grid's own name cell, so it is
// previewed, refused or renamed exactly as from there.
#pragma once

#include <cstdint>

#include "views/CellModel.h"
#include "views/TableEditable.h"

namespace qv {

class NameProperties final : public Object {
    QV_OBJECT(NameProperties, Object, "NameProperties")
  public:
    static constexpr std::int32_t kTableName = 0;
    static constexpr std::int32_t kFieldName = 1;
    static constexpr std::int32_t kCount = 2;

    explicit NameProperties(Pointer<TableEditable> grid) : m_grid(std::move(grid)) {}
    // The names of what `source` shows: the null object unless it is a
    // grid of a table of the program (a detailed or heading view).
    static Pointer<NameProperties> of(const Pointer<AbstractEditable>& source);

    const Pointer<TableEditable>& grid() const noexcept { return m_grid; }
    // "table name", "field name"; the empty text out of range.
    static StringPointer caption(std::int32_t index);
    // The row's value cell, read anew from the grid at every call: the
    // field follows the grid's selection.
    Pointer<CellModel> cell(std::int32_t index) const;

  private:
    Pointer<TableEditable> m_grid;
};

// A name row's value: shows the grid's name cell and hands edits to it.
// Empty and read-only where there is no such cell (no field selected).
class NamePropertyCell final : public CellModel {
    QV_OBJECT(NamePropertyCell, CellModel, "NamePropertyCell")
  public:
    NamePropertyCell(Pointer<TableEditable> grid, Pointer<CellModel> name)
        : m_grid(std::move(grid)), m_name(std::move(name)) {}
    const Pointer<CellModel>& nameCell() const noexcept { return m_name; }
    StringPointer text() override;
    bool isEditable() const override { return !m_name.isNull(); }
    bool isError() override { return !m_name.isNull() && m_name->isError(); }
    std::string nameTarget() override {
        return m_name.isNull() ? std::string() : m_name->nameTarget();
    }
    // The properties view edits no program: the grid makes the edit.
    void setText(ModelEditor& editor, const StringPointer& text) override;

  private:
    Pointer<TableEditable> m_grid;
    Pointer<CellModel> m_name;
};

}  // namespace qv
