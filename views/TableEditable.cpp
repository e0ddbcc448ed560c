#include "views/TableEditable.h"

namespace qv {

TableEditable::TableEditable(const Pointer<GridModel>& model) : m_model(model) {
    m_row = m_model->headerRowCount();
    m_column = m_model->leadingColumnCount();
}

TableEditable::~TableEditable() = default;

bool TableEditable::acceptValue(const Pointer<Object>& value) {
    if (!m_model->acceptValue(value)) return false;
    invalidateLayout();
    repaint();
    return true;
}

void TableEditable::selectCell(std::int32_t column, std::int32_t row) {
    m_column = column;
    m_row = row;
    repaint();
}

StringPointer TableEditable::getTitle() const {
    return m_model->title();
}

Pointer<Object> TableEditable::getProperties() {
    return m_model->viewProperties();
}

}  // namespace qv
