// SumFunction: the base of every aggregate function. The shared object
// hands out accumulators; an aggregation runs newAccumulator, start(count),
// add(index, arguments) for every item, finish, then result(row) as often
// as needed.
#pragma once

#include <cstdint>

#include "core/Number.h"
#include "functions/Function.h"

namespace qv {

class SumFunction : public Object {
    QV_ABSTRACT_OBJECT(SumFunction, Object)
  public:
    // A fresh object holding the running state of one aggregation.
    virtual Pointer<SumFunction> newAccumulator() const = 0;
    virtual const char* name() const = 0;
    // Values passed per item.
    virtual std::int32_t arity() const { return 1; }
    virtual void start(std::int32_t count) = 0;
    virtual void add(std::int32_t index, Arguments arguments) = 0;
    // add() of a one-argument aggregate whose item is a plain number; those
    // that take numbers as they come skip the box.
    virtual void addNumber(std::int32_t index, double number);
    // False once the result can no longer change.
    virtual bool wantsMore() const { return true; }
    virtual void finish() {}
    virtual Pointer<Object> result(std::int32_t row) const = 0;
    // The result as a plain number, when it is one.
    virtual bool resultNumber(std::int32_t row, double& number) const;
    // True when the result differs by row.
    virtual bool isPerRow() const { return false; }
};

inline bool SumFunction::resultNumber(std::int32_t row, double& number) const {
    Pointer<Object> value = result(row);
    if (value->classTypeId() != Double::typeId()) return false;
    number = static_cast<const Double&>(*value).value();
    return true;
}

inline void SumFunction::addNumber(std::int32_t index, double number) {
    Pointer<Object> boxed = make<Double>(number);
    add(index, Arguments(&boxed, 1));
}

}  // namespace qv
