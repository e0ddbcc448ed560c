// The list of the program's tables: per table its name, base table name and
// warnings, and a last line on which typing makes a new table.
#pragma once

#include <cstdint>

#include "kernel/Kernel.h"
#include "model/ModelEditor.h"
#include "views/GridModel.h"

namespace qv {

// A cell of one table in the list; the table is asked for at every read,
// so the cell follows the program after a relink.
class TableListCell : public CellModel {
    QV_ABSTRACT_OBJECT(TableListCell, CellModel)
  public:
    TableListCell(Pointer<Kernel> kernel, std::int32_t index)
        : m_kernel(std::move(kernel)), m_index(index) {}

    std::string nameTarget() override;
    // The table's index in the program.
    std::int32_t index() const noexcept { return m_index; }

  protected:
    Pointer<TableResult> table() const { return m_kernel->getTable(m_index); }

    Pointer<Kernel> m_kernel;
    std::int32_t m_index;
};

class TableNameCell final : public TableListCell {
    QV_OBJECT(TableNameCell, TableListCell, "TableNameCell")
  public:
    using TableListCell::TableListCell;
    StringPointer text() override { return table()->name(); }
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override {
        editor.setTableName(m_index, text);
    }
    bool isError() override;
    // A name that does not read is mended as before, by typing.
    bool holdsName() override { return !isError(); }
};

class TableBaseCell final : public TableListCell {
    QV_OBJECT(TableBaseCell, TableListCell, "TableBaseCell")
  public:
    using TableListCell::TableListCell;
    StringPointer text() override { return table()->baseName(); }
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override {
        editor.setBaseName(m_index, text);
    }
    bool isError() override;
};

class TableWarningCell final : public TableListCell {
    QV_OBJECT(TableWarningCell, TableListCell, "TableWarningCell")
  public:
    using TableListCell::TableListCell;
    StringPointer text() override;
    bool isError() override;
};

// The new-table line: typing a name (or a base name) makes a table.
class TableFactory final : public CellModel {
    QV_OBJECT(TableFactory, CellModel, "TableFactory")
  public:
    enum class Target : std::uint8_t { Name, BaseName, Nothing };
    explicit TableFactory(Target target) : m_target(target) {}
    bool isEditable() const override { return m_target != Target::Nothing; }
    void setText(ModelEditor& editor, const StringPointer& text) override;

  private:
    Target m_target;
};

class TablesView final : public GridModel {
    QV_OBJECT(TablesView, GridModel, "TablesView")
  public:
    explicit TablesView(Pointer<Kernel> kernel) : m_kernel(std::move(kernel)) {}
    // The list shows whichever kernel the value of "tables" is.
    bool acceptValue(const Pointer<Object>& value) override;

    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override;
    std::int32_t columnWidth(std::int32_t column) override;
    std::int32_t columnCount() override { return 4; }
    std::int32_t rowCount() override { return m_kernel->getTableCount() + 2; }
    StringPointer title() override { return str("Tables"); }
    ProgramDef* editedProgram() override;

  private:
    Pointer<Kernel> m_kernel;
};

}  // namespace qv
