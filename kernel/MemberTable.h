// MemberTable: the table whose field the right side of a dot names, where
// it can be told before computing. The right of a dot is looked up by name
// in whatever the left side gives when the cell is computed, so the linker
// never says which table it is; a rename must still know. Known are: a
// table name, a row or rows of one (T[i], T[*]), select * from T, a local
// table call T(a := ...), find(...) (a row of the current table), and a
// field or dot whose formula is one of these, followed a few steps deep.
#pragma once

#include <cstdint>

#include "language/AbstractExpression.h"
#include "language/FunctionSignature.h"

namespace qv {

class ResolvedProgram;
class ResolvedTable;

// How many formulas of fields the search follows from the dot.
inline constexpr std::int32_t kMemberSearchDepth = 8;

// The index of the table `left` gives rows or results of when compiled in
// `context` (null outside tables) with the parameters `scope`, or -1 when
// that is not known before computing.
std::int32_t memberTableOf(ResolvedProgram& program, ResolvedTable* context,
                           const Pointer<FunctionSignature>& scope, const ExpressionPointer& left);

}  // namespace qv
