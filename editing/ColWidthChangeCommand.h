// A column of a grid made wider or narrower by dragging its edge. The grid
// hands out a ColumnWidthTarget for itself; the command changes the width
// through it and back.
#pragma once

#include <cstdint>

#include "editing/Command.h"

namespace qv {

// What a grid offers for column widths. Setting a width shows it (layout
// and repaint are the grid's business).
class ColumnWidthTarget : public Object {
    QV_ABSTRACT_OBJECT(ColumnWidthTarget, Object)
  public:
    virtual std::int32_t columnCount() const = 0;
    virtual std::int32_t columnWidth(std::int32_t column) const = 0;
    virtual void setColumnWidth(std::int32_t column, std::int32_t width) = 0;
    // False for a grid in a view the document does not keep.
    virtual bool isKeptInDocument() const { return true; }
};

class ColWidthChangeCommand final : public Command {
    QV_OBJECT(ColWidthChangeCommand, Command, "ColWidthChangeCommand")
  public:
    ColWidthChangeCommand(const Pointer<ColumnWidthTarget>& table, std::int32_t column,
                          std::int32_t change)
        : m_table(table), m_column(column), m_change(change) {}

    // Width += change; undo: width -= change. A column the grid no longer
    // has (its table lost fields since) is left alone.
    void redo() override { apply(m_change); }
    void undo() override { apply(-m_change); }
    bool changesDocument() const override { return m_table->isKeptInDocument(); }

    StringPointer describe() const override;

  private:
    void apply(std::int32_t change);

    Pointer<ColumnWidthTarget> m_table;
    std::int32_t m_column;
    std::int32_t m_change;
};

}  // namespace qv
