#include "views/NameProperties.h"

#include "kernel/NameTarget.h"
#include "language/TableDef.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/TableCells.h"

namespace qv {

namespace {

// The table's name, as the list of tables shows and edits it.
class ResultTableNameCell final : public CellModel {
    QV_OBJECT(ResultTableNameCell, CellModel, "ResultTableNameCell")
  public:
    explicit ResultTableNameCell(Pointer<TableResult> table) : m_table(std::move(table)) {}
    StringPointer text() override { return m_table->name(); }
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override {
        editor.setTableName(m_table->index(), text);
    }
    bool isError() override { return !m_table->definition()->tableNameError().isNull(); }
    // A name that does not read is mended as before, by typing.
    bool holdsName() override { return !isError(); }
    std::string nameTarget() override {
        StringPointer name = m_table->name();
        if (name.isNull() || name->length() == 0) return {};
        NameTarget target;
        target.table = name->toStdString();
        return target.label();
    }

  private:
    Pointer<TableResult> m_table;
};

Pointer<TableResult> shownTable(const Pointer<GridModel>& model) {
    if (auto multi = cast<EvalMultiModel>(model); !multi.isNull()) return multi->table();
    if (auto single = cast<EvalSingleModel>(model); !single.isNull()) return single->table();
    return {};
}

}  // namespace

Pointer<NameProperties> NameProperties::of(const Pointer<AbstractEditable>& source) {
    auto grid = cast<TableEditable>(source);
    if (grid.isNull() || grid->model()->editedProgram() == nullptr) return {};
    if (shownTable(grid->model()).isNull()) return {};
    return make<NameProperties>(grid);
}

StringPointer NameProperties::caption(std::int32_t index) {
    switch (index) {
        case kTableName:
            return str("table name");
        case kFieldName:
            return str("field name");
        default:
            return str("");
    }
}

Pointer<CellModel> NameProperties::cell(std::int32_t index) const {
    const Pointer<GridModel>& model = m_grid->model();
    Pointer<TableResult> table = shownTable(model);
    Pointer<CellModel> name;
    if (!table.isNull() && index == kTableName) name = make<ResultTableNameCell>(table);
    if (!table.isNull() && index == kFieldName && m_grid->currentColumn() < model->columnCount() &&
        m_grid->currentRow() < model->rowCount()) {
        auto field =
            cast<FieldCell>(model->createCell(m_grid->currentColumn(), m_grid->currentRow()));
        if (!field.isNull() && field->field() >= 0 && field->field() < table->fieldCount())
            name = make<NameCell>(table, field->field());
    }
    return make<NamePropertyCell>(m_grid, name);
}

StringPointer NamePropertyCell::text() {
    StringPointer name = m_name.isNull() ? StringPointer() : m_name->text();
    return name.isNull() ? str("") : name;
}

void NamePropertyCell::setText(ModelEditor&, const StringPointer& text) {
    if (!m_name.isNull()) m_grid->editName(m_name, text);
}

}  // namespace qv
