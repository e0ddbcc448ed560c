// The grid element: draws a grid model's cells (only the visible part, so a
// table of a million records costs what a small one does), scrolls, keeps a
// selected cell and a selected range of columns, moves by keys, edits the
// selected cell through the formula bar, resizes columns by their header
// border and toggles Boolean cells by a click. Model edits are undoable
// commands of the window's command manager.
#pragma once

#include <cstdint>

#include "editing/AbstractEditable.h"
#include "views/GridController.h"
#include "views/GridModel.h"

namespace qv {

class TableEditable final : public AbstractEditable {
    QV_OBJECT(TableEditable, AbstractEditable, "TableEditable")
  public:
    explicit TableEditable(const Pointer<GridModel>& model);
    ~TableEditable() override;

    const Pointer<GridModel>& model() const noexcept { return m_model; }
    // Hands a recomputed value to the model; the view keeps its scroll
    // position and selection where they still exist. False when the model
    // cannot show the value (the caller builds another view).
    bool acceptValue(const Pointer<Object>& value);

    // The selected cell, as a grid position.
    std::int32_t currentColumn() const noexcept { return m_column; }
    std::int32_t currentRow() const noexcept { return m_row; }
    void selectCell(std::int32_t column, std::int32_t row);

    // Told when the user activates a line; the null object for none.
    void setController(const Pointer<GridController>& controller) { m_controller = controller; }
    const Pointer<GridController>& controller() const noexcept { return m_controller; }

    StringPointer getTitle() const override;
    // The properties the model offers for the view.
    Pointer<Object> getProperties() override;

  private:
    Pointer<GridModel> m_model;
    Pointer<GridController> m_controller;
    std::int32_t m_column = 0;
    std::int32_t m_row = 0;
};

}  // namespace qv
