// What a grid element asks of the model it shows: the size of the grid,
// the cell object at each position, column widths, the header extent, the
// title, cell address texts and the paste of a block of text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "kernel/CellPlace.h"
#include "views/CellModel.h"
#include "views/PropertyList.h"

namespace qv {

class ModelEditor;
class ProgramDef;

class GridModel : public Object {
    QV_ABSTRACT_OBJECT(GridModel, Object)
  public:
    // The empty text where the position holds no field cell of a record.
    virtual StringPointer cellAddress(std::int32_t, std::int32_t) { return str(""); }
    // Keeps a selection on the same line across layout changes.
    virtual std::int32_t rowIdentity(std::int32_t row) { return row; }
    // A new cell for every position, inside the data or not.
    virtual Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) = 0;
    virtual std::int32_t columnWidth(std::int32_t column) = 0;
    virtual std::int32_t columnCount() = 0;
    virtual std::int32_t rowCount() = 0;
    virtual StringPointer title() = 0;
    // The frozen part of the grid: leading columns and header rows.
    virtual std::int32_t leadingColumnCount() { return 1; }
    virtual std::int32_t headerRowCount() { return 1; }
    // Writes a block of tab- and line-separated text from a position on,
    // through `editor`. Throws a message when the text is refused; nothing
    // is written then.
    virtual void paste(ModelEditor&, std::int32_t, std::int32_t, std::string_view) {}
    // What a screen reader calls the cell at a position: the title, the
    // row's number below the header rows and the column's caption.
    virtual std::string cellName(std::int32_t column, std::int32_t row);
    // Recomputes the layout from the flags (and the settings they follow).
    virtual void layout() {}
    // The properties the view offers, or the null object.
    virtual Pointer<PropertyList> viewProperties() { return Pointer<PropertyList>(); }
    // A recomputed value for the same view (a new table result of the same
    // table, the kernel again). True when the model took it and keeps its
    // flags; false when the value needs a model of another kind.
    virtual bool acceptValue(const Pointer<Object>&) { return false; }
    // The program the view's edits change, for the model editor that makes
    // them; nullptr where edits change no program (a properties view).
    virtual ProgramDef* editedProgram() { return nullptr; }
    // The grid position (column, row) where the model shows the value of a
    // cell of the results; nullopt where it does not show it.
    virtual std::optional<std::pair<std::int32_t, std::int32_t>> positionOf(const CellPlace&) {
        return std::nullopt;
    }
};

// The copy of a grid's columns first ... last: per column, the shown text of
// every cell below the header rows, each followed by a tab; each column's
// line ends with CR LF.
std::string copyColumns(GridModel& model, std::int32_t first, std::int32_t last);

}  // namespace qv
