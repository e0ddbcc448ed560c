// Writes what `qvl explain` found, for people or for tools.
//  - text: the explained value's line, its cause when it is an error, then
//    the tree, two blanks of indent a level:
//      CELL := FORMULA => VALUE   (CELL => VALUE for a cell without formula,
//                                  EXPR => VALUE for the expression itself)
//      CELL (see above)           a cell shown before
//      ...                        cells left out by the bounds
//    and the origin's line ends in "  <- origin". Control characters are
//    escaped as show's text escapes them.
//  - json: one object, the tree a list of nodes with their levels (the
//    usage text of explain describes its members).
#pragma once

#include <cstdio>

#include "cli/ExplainTree.h"

namespace qv::cli {

void writeExplainText(const ExplainReport& report, std::FILE* file);
void writeExplainJson(const ExplainReport& report, std::FILE* file);

}  // namespace qv::cli
