// The properties view: the Boolean properties of the selected object, one
// line each with its number, name and value, or a hint with nothing
// selected. A grid of a program table adds, after its flags, the names it
// shows as text lines (see NameProperties), numbered on from the flags.
#pragma once

#include "views/GridModel.h"
#include "views/NameProperties.h"
#include "views/PropertyList.h"

namespace qv {

// The value of one Boolean property; an edit toggles it.
class PropertyCell final : public CellModel {
    QV_OBJECT(PropertyCell, CellModel, "PropertyCell")
  public:
    PropertyCell(Pointer<PropertyList> properties, std::int32_t index)
        : m_properties(std::move(properties)), m_index(index) {}
    StringPointer text() override;
    bool isEditable() const override { return true; }
    void setText(ModelEditor& editor, const StringPointer& text) override;
    bool isError() override { return !booleanValue().has_value(); }
    std::optional<bool> booleanValue() override;
    void setBoolean(ModelEditor& editor, bool value) override;

  private:
    Pointer<PropertyList> m_properties;
    std::int32_t m_index;
};

class PropertiesTableModel final : public GridModel {
    QV_OBJECT(PropertiesTableModel, GridModel, "PropertiesTableModel")
  public:
    // Follows the selection: the null object when nothing is selected.
    void setProperties(Pointer<PropertyList> properties) { m_properties = std::move(properties); }
    const Pointer<PropertyList>& properties() const noexcept { return m_properties; }
    // The name lines after the flags; the null object for none.
    void setNames(Pointer<NameProperties> names) { m_names = std::move(names); }
    const Pointer<NameProperties>& names() const noexcept { return m_names; }

    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override;
    std::int32_t columnWidth(std::int32_t column) override { return column == 0 ? 20 : 150; }
    std::int32_t columnCount() override { return 3; }
    std::int32_t rowCount() override;
    StringPointer title() override;

  private:
    std::int32_t nameCount() const { return m_names.isNull() ? 0 : NameProperties::kCount; }

    Pointer<PropertyList> m_properties;
    Pointer<NameProperties> m_names;
};

}  // namespace qv
