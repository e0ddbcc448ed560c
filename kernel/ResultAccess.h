// Accessible results: values that formulas can reach into with "." and
// "[...]" — table results, their rows and columns, local-table and select
// results. Each hands out an adapter with the five access operations. The
// rows and columns of a table result live in TableResultSlices.h, above the
// table result, which derives from the getter here.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class ResultEvaluatable;
class TableResult;

class AbstractResultAdapter {
  public:
    virtual ~AbstractResultAdapter() = default;
    virtual Pointer<Object> getByIdentifier(ResultEvaluatable& context,
                                            std::int32_t identifier) = 0;
    virtual Pointer<Object> getByIdentifierReference(ResultEvaluatable& context,
                                                     std::int32_t identifier) {
        return getByIdentifier(context, identifier);
    }
    virtual Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) = 0;
    virtual bool hasIndex(std::int32_t index) = 0;
    virtual std::int32_t extent() = 0;
};

class AbstractResultGetter : public Object, public AbstractResultAdapter {
    QV_ABSTRACT_OBJECT(AbstractResultGetter, Object)
  public:
    virtual AbstractResultAdapter& adapter() { return *this; }
    // The table result whose cells this value reads (itself, the table of a
    // row or column, the source of a selection), so that releasing cells
    // reaches it without knowing every kind of value; null for none.
    virtual TableResult* sourceTable() const noexcept { return nullptr; }
};

// The adapter of a value, or null when it is not an accessible result.
AbstractResultAdapter* adapterOf(const Pointer<Object>& value);

}  // namespace qv
