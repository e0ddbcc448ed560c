// The one writer of a document's layout text, for the document's plain
// layout (app/) and for the live frames of the work area (editing/): the
// placement prefix before a top-level view, the comments kept around a
// frame, and a layout table with its rows and cells. Each caller supplies
// only what it holds: its views write their own directives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/Pointer.h"
#include "layout/FrameNotes.h"
#include "layout/FramePlacement.h"

namespace qv {

// Each level of a layout table indents its lines by this many blanks.
inline constexpr std::int32_t kLayoutIndentStep = 4;

// Appends `count` blanks.
void appendIndent(std::string& out, std::int32_t count);

// The word of a placement prefix: "maximized", "optimized", "floating"; ""
// inside a layout table. A reader of documents takes "floating" back as
// optimized: the size the user set is not written.
std::string_view placementKeyword(FramePlacement placement) noexcept;
// "maximized ", "optimized(x,y) ", "floating(x,y) " with the coordinates at
// least 0, or nothing inside a layout table.
std::string placementPrefix(FramePlacement placement, std::int32_t x, std::int32_t y);

// Appends an element's directive. The caller has placed the first line;
// every further line the element writes itself starts with `indent` blanks.
using DirectiveWriter = std::function<void(std::string& out, std::int32_t indent)>;

// A frame: the notes' lines before it (unless the notes are the null object), its prefix,
// its element's directive, and the notes of the directive's last line
// before its line end.
void writeFrame(std::string& out, std::int32_t indent, std::string_view prefix,
                const Pointer<FrameNotes>& notes, const DirectiveWriter& writeElement);

// Appends the frame at (row, column) as writeFrame does, starting on a line
// the caller has indented by `indent`; false, with nothing written, for an
// empty cell. Called row by row, each row column by column.
using CellWriter = std::function<bool(std::string& out, std::int32_t row, std::int32_t column,
                                      std::int32_t indent)>;

// A layout table: "ltable{\n", every row from 0 to `rows` - 1 as "lrow{\n"
// with every column from 0 to `columns` - 1 (";\n" for an empty cell), each
// level indented by 4 blanks more, then "}\n".
void writeLayoutTable(std::string& out, std::int32_t indent, std::int32_t rows,
                      std::int32_t columns, const CellWriter& writeCell);

}  // namespace qv
