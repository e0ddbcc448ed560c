// The compiler side of the expression tree's double dispatch: every node's
// compile() calls the overload for its own class. The kernel's link context
// implements it with the compile rules of each construct.
#pragma once

#include "core/Pointer.h"

namespace qv {

class AbstractCalculator;
class ValueExpression;
class IdentifierExpression;
class FuncExpression;
class AtExpression;
class AssignExpression;
class UnaryExpression;
class BinaryExpression;
class IfExpression;
class DotOperatorExpression;
class IndexOperatorExpression;
class LastIndexExpression;
class SelectExpression;
class RangeExpression;
class DataRangeExpression;
class AltExpression;
class ErrorExpression;
class ExpressionSource;

class CompileContext {
  public:
    virtual ~CompileContext() = default;

    virtual Pointer<AbstractCalculator> compile(const ValueExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const IdentifierExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const FuncExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const AtExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const AssignExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const UnaryExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const BinaryExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const IfExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const DotOperatorExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const IndexOperatorExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const LastIndexExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const SelectExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const RangeExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const DataRangeExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const AltExpression& node) = 0;
    virtual Pointer<AbstractCalculator> compile(const ErrorExpression& node) = 0;
};

}  // namespace qv
