// Helpers shared by the function library tests: building argument values,
// calling a function by its registered name, running an aggregation in the
// documented order, and rendering any result as "Class:text".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Number.h"
#include "core/String.h"
#include "core/Values.h"
#include "core/Vector.h"
#include "functions/FuncStore.h"
#include "functions/Trajectory2D.h"

namespace qv::test {

using Values = std::vector<Pointer<Object>>;

inline Pointer<Object> num(double value) {
    return make<Double>(value);
}
inline Pointer<Object> text(const char* value) {
    return str(value);
}
inline Pointer<Object> truth(bool value) {
    return Boolean::of(value);
}
inline Pointer<Object> none() {
    return Pointer<Object>();
}

inline const FuncStore& store() {
    static const Pointer<FuncStore> shared = make<FuncStore>();
    return *shared;
}

// "null" for the null object; "Class:text" otherwise, with the points of a
// trajectory and the elements of a vector spelled out.
inline std::string render(const Pointer<Object>& value) {
    if (value.isNull()) return "null";
    std::string out = std::string(value->getClassName()) + ":";
    if (auto trajectory = cast<Trajectory2D>(value)) {
        out += value->toString()->toStdString();
        for (std::int32_t i = 0; i < trajectory->pointCount(); ++i) {
            out += " (" + num(trajectory->xs()[i])->toString()->toStdString() + "," +
                   num(trajectory->ys()[i])->toString()->toStdString() + ")";
        }
        return out;
    }
    if (auto fetch = cast<FetchRequest>(value)) {
        return out + std::to_string(fetch->column()) + "," + std::to_string(fetch->row());
    }
    if (auto special = cast<SpecialRequest>(value)) return out + render(special->special());
    if (auto vector = cast<Vector>(value)) {
        out += "[";
        for (std::int32_t i = 0; i < vector->size(); ++i)
            out += (i ? " " : "") + render(vector->elementAt(i));
        return out + "]";
    }
    return out + value->toString()->toStdString();
}

// Calls the scalar function (name, arity).
inline std::string callScalar(const char* name, std::int32_t arity, std::int32_t column,
                              std::int32_t row, const Values& arguments) {
    Pointer<Function> function = store().findFunction(name, arity);
    if (function.isNull()) return "no such function";
    return render(function->evaluate(column, row, Arguments(arguments)));
}

// A fresh accumulator of the aggregate (name, arity) after start, an add per
// item (indexes from `firstIndex`) and finish.
inline Pointer<SumFunction> aggregate(const char* name, std::int32_t arity,
                                      const std::vector<Values>& items,
                                      std::int32_t firstIndex = 1) {
    Pointer<SumFunction> shared = store().findAggregate(name, arity);
    if (shared.isNull()) return shared;
    Pointer<SumFunction> accumulator = shared->newAccumulator();
    accumulator->start(static_cast<std::int32_t>(items.size()));
    std::int32_t index = firstIndex;
    for (const Values& item : items)
        accumulator->add(index++, Arguments(item));
    accumulator->finish();
    return accumulator;
}

}  // namespace qv::test
