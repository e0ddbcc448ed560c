#include "views/TablesView.h"

#include <string>

#include "core/ValueConversions.h"
#include "kernel/NameTarget.h"
#include "language/TableDef.h"

namespace qv {

bool TablesView::acceptValue(const Pointer<Object>& value) {
    auto kernel = cast<Kernel>(value);
    if (kernel.isNull()) return false;
    m_kernel = kernel;
    return true;
}

std::string TableListCell::nameTarget() {
    StringPointer name = table()->name();
    if (name.isNull() || name->length() == 0) return {};
    NameTarget target;
    target.table = name->toStdString();
    return target.label();
}

bool TableNameCell::isError() {
    return !table()->definition()->tableNameError().isNull();
}

bool TableBaseCell::isError() {
    return !table()->definition()->baseNameError().isNull();
}

StringPointer TableWarningCell::text() {
    Pointer<Object> warning = table()->warning();
    return warning.isNull() ? str("") : toText(warning);
}

bool TableWarningCell::isError() {
    return !table()->warning().isNull();
}

void TableFactory::setText(ModelEditor& editor, const StringPointer& text) {
    if (m_target == Target::Nothing) return;
    editor.addTable(
        m_target == Target::Name ? ModelEditor::NewTable::Name : ModelEditor::NewTable::BaseName,
        text);
}

std::int32_t TablesView::columnWidth(std::int32_t column) {
    static constexpr std::int32_t kWidths[] = {30, 120, 120, 300};
    if (column < 0 || column >= static_cast<std::int32_t>(std::size(kWidths))) return 70;
    return kWidths[column];
}

Pointer<CellModel> TablesView::createCell(std::int32_t column, std::int32_t row) {
    static constexpr const char* kCaptions[] = {"", "Name", "Base name", "Warnings"};
    if (column < 0 || column >= columnCount()) return make<LabelCell>(str("->->"));
    if (row <= 0) return make<LabelCell>(str(kCaptions[column]));
    std::int32_t index = row - 1;
    if (index >= m_kernel->getTableCount()) {
        if (column == 0) return make<LabelCell>(str("*"));
        auto target = column == 1   ? TableFactory::Target::Name
                      : column == 2 ? TableFactory::Target::BaseName
                                    : TableFactory::Target::Nothing;
        return make<TableFactory>(target);
    }
    switch (column) {
        case 1:
            return make<TableNameCell>(m_kernel, index);
        case 2:
            return make<TableBaseCell>(m_kernel, index);
        case 3:
            return make<TableWarningCell>(m_kernel, index);
        default:
            return make<LabelCell>(str(std::to_string(row)));
    }
}

ProgramDef* TablesView::editedProgram() {
    return m_kernel->program().get();
}

}  // namespace qv
