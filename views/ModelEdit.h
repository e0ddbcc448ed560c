// Edits of the program made from the views, as undoable steps: the tables
// an edit may change are copied before and after it, and undo and redo put
// the copies back. Tables the edit adds are copied after it and dropped on
// undo.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "editing/CommandManager.h"
#include "language/ProgramDef.h"

namespace qv {

class TableResult;

// Runs `change` and, when it changed the program, records it in `commands`
// as one step named `name`. With no command manager the change just runs.
// A message thrown by the change passes on; whatever it changed before is
// still recorded, so it can be undone.
void runModelEdit(CommandManager* commands, ProgramDef& program,
                  const std::vector<std::int32_t>& tables, std::string_view name,
                  const std::function<void()>& change);

// The indexes in its program of a table result's table and of the tables
// it extends (an edit of an inherited field may change a base table).
std::vector<std::int32_t> tablesOf(const TableResult& table);

}  // namespace qv
