// ReferenceObserver: told, while a program is linked, what every name of a
// formula resolved to. Linking keeps no record of names (calculators hold
// indexes only), so whoever must know where a name is used — a rename, a
// where-used list — links the program once more with an observer instead of
// repeating the rules of resolution. Ordinary links carry none and pay one
// test of a null pointer per name.
#pragma once

#include <cstdint>

namespace qv {

class AbstractExpression;
class LinkContext;
class ResolvedTable;
class IdentifierExpression;
class DotOperatorExpression;
class FuncExpression;
class AtExpression;
class SelectExpression;

// What one name resolved to; `index` is the parameter position, field
// index (in the context's table), row key or table index of the kind.
struct NameResolution {
    enum class Kind : std::int8_t {
        kColumn,      // "col"
        kParameter,   // a parameter of the user function being compiled
        kField,       // a field of the context's table
        kRow,         // a row of the context's table
        kFunction,    // a user function field of the context's table
        kTable,       // a table of the program
        kLibrary,     // a library function or constant
        kUnresolved,  // nothing: the cell says "undefined: "
    };
    Kind kind;
    std::int32_t index = -1;
};

class ReferenceObserver {
  public:
    virtual ~ReferenceObserver() = default;
    // The formula of (field, row key) is compiled next in `table`.
    virtual void formula(const ResolvedTable& table, std::int32_t field, std::int32_t rowKey,
                         const AbstractExpression& formula) = 0;
    // A name outside the right side of a dot.
    virtual void identifier(const LinkContext& context, const IdentifierExpression& node,
                            NameResolution resolution) = 0;
    // A dot, before its right side is compiled (that side is looked up by
    // name when computing, in whatever the left side gives).
    virtual void member(const LinkContext& context, const DotOperatorExpression& node) = 0;
    // A call: kTable for a local table T(a:=...), kFunction for a user
    // function, kLibrary or kUnresolved otherwise.
    virtual void call(const LinkContext& context, const FuncExpression& node,
                      NameResolution resolution) = 0;
    // row@field: the field index and row key, -1 when not found.
    virtual void cell(const LinkContext& context, const AtExpression& node, std::int32_t field,
                      std::int32_t row) = 0;
    // select * from T: the table index, -1 when not found.
    virtual void select(const LinkContext& context, const SelectExpression& node,
                        std::int32_t table) = 0;
};

}  // namespace qv
