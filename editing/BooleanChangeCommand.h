// A Boolean cell of a grid clicked: its value is negated, and negated again
// by undo. The grid hands out a BooleanCellTarget for itself.
#pragma once

#include <cstdint>
#include <optional>

#include "editing/Command.h"

namespace qv {

// What a grid offers for its Boolean cells.
class BooleanCellTarget : public Object {
    QV_ABSTRACT_OBJECT(BooleanCellTarget, Object)
  public:
    // The cell's value when the cell at (column, row) is a Boolean cell;
    // nothing for any other cell or none.
    virtual std::optional<bool> booleanAt(std::int32_t column, std::int32_t row) const = 0;
    virtual void setBooleanAt(std::int32_t column, std::int32_t row, bool value) = 0;
};

class BooleanChangeCommand final : public Command {
    QV_OBJECT(BooleanChangeCommand, Command, "BooleanChangeCommand")
  public:
    BooleanChangeCommand(const Pointer<BooleanCellTarget>& table, std::int32_t column,
                         std::int32_t row)
        : m_table(table), m_column(column), m_row(row) {}

    void redo() override { toggle(); }
    void undo() override { toggle(); }

    StringPointer describe() const override;

  private:
    void toggle();

    Pointer<BooleanCellTarget> m_table;
    std::int32_t m_column;
    std::int32_t m_row;
};

}  // namespace qv
