// What the owner of a grid does when the user activates one of its lines
// (a double click on the line's label column, or Enter anywhere on it): the
// list of tables opens the table of the line.
#pragma once

#include <cstdint>

#include "core/Object.h"

namespace qv {

class TableEditable;

class GridController : public Object {
    QV_ABSTRACT_OBJECT(GridController, Object)
  public:
    // `row` is the grid row of the activated line, below the header rows.
    // False when the line means nothing to the owner: the grid then does
    // what the key or click does on any line.
    virtual bool lineActivated(TableEditable& grid, std::int32_t row) = 0;
    // Whether a double click activates a line in any column; by default
    // only the first column does, and the others start editing.
    virtual bool activatesEveryColumn() const { return false; }
};

}  // namespace qv
