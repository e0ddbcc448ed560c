#include "views/PropertiesTableModel.h"

#include <string>

#include "core/Number.h"

namespace qv {

std::optional<bool> PropertyCell::booleanValue() {
    Pointer<Object> value = m_properties->propertyValue(m_index);
    if (!is<Boolean>(value)) return std::nullopt;
    return cast<Boolean>(value)->value();
}

StringPointer PropertyCell::text() {
    std::optional<bool> value = booleanValue();
    if (!value) return str("error!");
    return str(*value ? "true" : "false");
}

// A view's property is no part of the program: the editor writes nothing.
void PropertyCell::setBoolean(ModelEditor&, bool value) {
    m_properties->setProperty(m_index, Boolean::of(value));
}

// Any edit toggles: the value has only two states.
void PropertyCell::setText(ModelEditor& editor, const StringPointer&) {
    std::optional<bool> value = booleanValue();
    if (value) setBoolean(editor, !*value);
}

std::int32_t PropertiesTableModel::rowCount() {
    return m_properties.isNull() ? 2 : m_properties->propertyCount() + nameCount() + 1;
}

StringPointer PropertiesTableModel::title() {
    return m_properties.isNull() ? str("Properties") : m_properties->title();
}

Pointer<CellModel> PropertiesTableModel::createCell(std::int32_t column, std::int32_t row) {
    static constexpr const char* kCaptions[] = {"", "name", "value"};
    if (m_properties.isNull()) {
        bool hint = row == 1 && column == 1;
        return make<LabelCell>(str(hint ? "click on object to see properties" : ""));
    }
    if (column < 0 || column >= columnCount()) return make<LabelCell>(str(""));
    if (row <= 0) return make<LabelCell>(str(kCaptions[column]));
    std::int32_t index = row - 1;
    if (column == 0) return make<LabelCell>(str(std::to_string(index)));
    std::int32_t name = index - m_properties->propertyCount();
    if (name >= 0 && name < nameCount()) {
        if (column == 1) return make<LabelCell>(NameProperties::caption(name));
        return m_names->cell(name);
    }
    if (column == 1) return make<LabelCell>(m_properties->propertyName(index));
    return make<PropertyCell>(m_properties, index);
}

}  // namespace qv
