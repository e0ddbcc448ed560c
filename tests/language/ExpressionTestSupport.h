// Helpers shared by the expression tests: a spelling of the tree that does
// not go through the node printer, and parsing a formula to its tree.
#pragma once

#include <cstdio>
#include <string>

#include "core/Number.h"
#include "core/String.h"
#include "language/ExpressionParser.h"
#include "language/OperatorExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"

namespace qv::test {

inline std::string shape(const ExpressionPointer& node);

inline std::string shapeList(const Pointer<ExpressionList>& list) {
    std::string out;
    for (std::int32_t i = 0; i < list->size(); ++i) {
        if (i > 0) out += ",";
        out += shape((*list)[i]);
    }
    return out;
}

// The tree with every node spelled out, independent of the printer:
// (l op r) for operators, if(c,t,e), dot(l,r), idx(t,i), f{args} ...
inline std::string shape(const ExpressionPointer& node) {
    if (node.isNull()) return "_";
    if (auto n = cast<ExpressionSource>(node)) return shape(n->expression());
    if (auto n = cast<ValueExpression>(node)) {
        if (n->value().isNull()) return "?";
        if (n->holdsString()) return "\"" + cast<String>(n->value())->toStdString() + "\"";
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%g", cast<Number>(n->value())->doubleValue());
        return buffer;
    }
    if (auto n = cast<IdentifierExpression>(node)) return "<" + n->name()->toStdString() + ">";
    if (auto n = cast<FuncExpression>(node)) {
        return n->name()->toStdString() + "{" + shapeList(n->arguments()) + "}";
    }
    if (auto n = cast<AtExpression>(node)) {
        return "at(" + n->rowName()->toStdString() + "," + n->fieldName()->toStdString() + ")";
    }
    if (auto n = cast<AssignExpression>(node)) {
        return "(" + shape(n->target()) + " := " + shape(n->value()) + ")";
    }
    if (auto n = cast<UnaryExpression>(node)) {
        return "(" + std::string(operatorText(n->op())) + " " + shape(n->operand()) + ")";
    }
    if (auto n = cast<BinaryExpression>(node)) {
        return "(" + shape(n->left()) + " " + std::string(operatorText(n->op())) + " " +
               shape(n->right()) + ")";
    }
    if (auto n = cast<IfExpression>(node)) {
        return "if(" + shape(n->condition()) + "," + shape(n->thenPart()) + "," +
               shape(n->elsePart()) + ")";
    }
    if (auto n = cast<DotOperatorExpression>(node)) {
        return "dot(" + shape(n->left()) + "," + shape(n->right()) + ")";
    }
    if (auto n = cast<IndexOperatorExpression>(node)) {
        return "idx(" + shape(n->target()) + "," + shape(n->index()) + ")";
    }
    if (auto n = cast<LastIndexExpression>(node)) return "last(" + shape(n->target()) + ")";
    if (auto n = cast<SelectExpression>(node)) {
        return "select(" + n->tableName()->toStdString() + "," + shape(n->condition()) + ")";
    }
    if (auto n = cast<RangeExpression>(node)) {
        return "range(" + shape(n->from()) + "," + shape(n->to()) + "," + shape(n->step()) + "," +
               shape(n->steps()) + ")";
    }
    if (auto n = cast<DataRangeExpression>(node))
        return "datarange(" + shape(n->expression()) + ")";
    if (auto n = cast<AltExpression>(node)) return "alt(" + shapeList(n->alternatives()) + ")";
    return std::string("?class ") + node->getClassName();
}

// The tree of a formula below its ExpressionSource; the null object when
// the formula is blank or does not parse.
inline ExpressionPointer treeOf(const std::string& text) {
    auto source = cast<ExpressionSource>(make<ExpressionParser>()->parseFormula(str(text)));
    return source.isNull() ? ExpressionPointer() : source->expression();
}

// The printed form of a node.
inline std::string printed(const ExpressionPointer& node) {
    std::string out;
    if (!node.isNull()) node->print(out);
    return out;
}

}  // namespace qv::test
