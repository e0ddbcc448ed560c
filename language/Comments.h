// Comments kept with the items of a document (tables, fields, row blocks and
// views), so that a document written back keeps what its author wrote.
//
// A kept text holds whole comments only, in a normal form that reading and
// writing agree on: comments on one line are separated by one blank, lines by
// a line feed, and a blank line between comments by two; a leading text may
// end with a line feed, which stands for a blank line before its item.
// Inside a block comment the line ends are line feeds and every line after
// the first is kept relative to the column where the comment starts: it is
// written back shifted to wherever the comment then starts, so a block
// comment keeps its shape when its item moves to another indentation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/String.h"

namespace qv {

struct ItemComments {
    // The comments on the lines before the item, and those inside its syntax
    // but outside its formulas; the null object when there are none.
    StringPointer leading;
    // The comments after the item on the line where it ends.
    StringPointer trailing;

    bool isEmpty() const noexcept { return leading.isNull() && trailing.isNull(); }
    std::int32_t count() const noexcept;
};

// Writes a leading text: every line of it indented by `indent` blanks (the
// first only up to that column, where a caller has placed blanks already),
// then a line end, so the item follows on a line of its own.
void appendLeadingComments(std::string& out, std::string_view text, std::int32_t indent);
// Writes a trailing text after a blank; the caller ends the line.
void appendTrailingComments(std::string& out, std::string_view text);
// The number of comments in a kept text.
std::int32_t countComments(std::string_view text) noexcept;
// The lines of `first` followed by those of `second`; null when both are.
StringPointer joinComments(const StringPointer& first, const StringPointer& second);

}  // namespace qv
