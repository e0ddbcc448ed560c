// The compile rules: every expression kind becomes its calculator, and
// every name is resolved here, once, into an index.
#include "kernel/LinkContext.h"

#include <optional>

#include "core/Number.h"
#include "core/StringBuffer.h"
#include "core/ValueConversions.h"
#include "kernel/AccessCalculators.h"
#include "kernel/BasicCalculators.h"
#include "kernel/CallCalculators.h"
#include "kernel/OperatorCalculators.h"
#include "kernel/ResolvedProgram.h"
#include "kernel/SpanCalculators.h"
#include "language/OperatorExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"
#include "language/Token.h"

namespace qv {

CalculatorPointer warningCalculator(const StringPointer& message) {
    return make<ValueCalculator>(make<Warning>(message));
}

CalculatorPointer warningCalculator(const char* message) {
    return warningCalculator(str(message));
}

LinkContext::LinkContext(ResolvedProgram& program, ResolvedTable* table,
                         const Pointer<FunctionSignature>& scope)
    : m_program(program), m_table(table), m_scope(scope) {}

void LinkContext::addUnresolved(const StringPointer& name) {
    if (m_unresolvedNames.isNull()) {
        m_unresolvedNames = make<Hashtable>();
        m_unresolvedOrder = make<Vector>();
    }
    if (m_unresolvedNames->containsKey(name)) return;
    m_unresolvedNames->put(name, str(""));
    m_unresolvedOrder->addElement(name);
}

// The names in the order the formula first uses them.
StringPointer LinkContext::unresolvedMessage() const {
    if (m_unresolvedNames.isNull()) return str("undefined: ");
    return str("undefined: ") + join(m_unresolvedOrder->elements(), ",");
}

Pointer<CalculatorList> LinkContext::compileAll(const Pointer<TVector<AbstractExpression>>& list) {
    auto calculators = make<CalculatorList>(list->size());
    for (const auto& expression : *list)
        calculators->add(compileChild(expression));
    return calculators;
}

Pointer<LinkContext> LinkContext::withTable(ResolvedTable* table) const {
    auto context = make<LinkContext>(m_program, table, m_scope);
    context->m_observer = m_observer;
    return context;
}

CalculatorPointer LinkContext::compileChild(const ExpressionPointer& expression) {
    if (expression.isNull()) return {};
    return expression->compile(*this);
}

CalculatorPointer LinkContext::compile(const ValueExpression& node) {
    return make<ValueCalculator>(node.value());
}

CalculatorPointer LinkContext::compile(const IdentifierExpression& node) {
    NameResolution resolution{NameResolution::Kind::kUnresolved};
    CalculatorPointer calculator = resolveIdentifier(node.name(), resolution);
    // The right side of a dot is the observer's (see member()).
    if (m_observer != nullptr && !m_calcTimeMode) m_observer->identifier(*this, node, resolution);
    return calculator;
}

// Resolution order: the right of a dot, "col", a parameter, a field, a row,
// a function field without parameters, a table, a library name.
CalculatorPointer LinkContext::resolveIdentifier(const StringPointer& name,
                                                 NameResolution& resolution) {
    using Kind = NameResolution::Kind;
    std::string_view text = name->view();
    if (m_calcTimeMode) {
        std::int32_t identifier = m_program.identifierOf(text);
        if (identifier >= 0) return make<CalcTimeIdentifierCalculator>(name, identifier);
        addUnresolved(name);
        return make<ValueCalculator>(Pointer<Object>());
    }
    if (text == "col") {
        resolution = {Kind::kColumn};
        return make<ColFunctionCalculator>();
    }
    if (!m_scope.isNull()) {
        for (std::int32_t i = 0; i < m_scope->argumentCount(); ++i) {
            StringPointer parameter = m_scope->parameterName(i);
            if (!parameter.isNull() && parameter->equals(text)) {
                resolution = {Kind::kParameter, i};
                return make<FuncParamCalculator>(i);
            }
        }
    }
    if (m_table != nullptr) {
        std::int32_t field = m_table->fieldIndexOf(text);
        if (field >= 0) {
            resolution = {Kind::kField, field};
            return make<LocalFieldCalculator>(field);
        }
        if (auto row = m_table->rowIndexOf(text)) {
            resolution = {Kind::kRow, *row};
            return make<LocalRowCalculator>(*row);
        }
        std::int32_t function = m_table->functionFieldOf(text, 0);
        if (function >= 0) {
            resolution = {Kind::kFunction, function};
            return make<UserFuncCalculator>(make<CalculatorList>(), function);
        }
    }
    std::int32_t table = m_program.tableIndexOf(text);
    if (table >= 0) {
        resolution = {Kind::kTable, table};
        return make<ForienTableCalculator>(table);
    }
    Pointer<Function> function = m_program.functions()->findFunction(text, -1);
    if (function.isNull()) function = m_program.functions()->findFunction(text, 0);
    if (!function.isNull()) {
        resolution = {Kind::kLibrary};
        return make<BuildInFuncCalculator>(make<CalculatorList>(), function);
    }
    addUnresolved(name);
    return make<ValueCalculator>(Pointer<Object>());
}

// Calls: col(), find(c), a local table, a user function, a library
// function, a scanning aggregate, an aggregate over the arguments.
CalculatorPointer LinkContext::compile(const FuncExpression& node) {
    if (m_calcTimeMode) return warningCalculator("func unknown");
    std::string_view name = node.name()->view();
    const auto& arguments = node.arguments();
    std::int32_t count = arguments->size();
    if (name == "col" && count == 0) return make<ColFunctionCalculator>();
    if (name == "find" && count == 1) {
        return make<FindFunctionCalculator>(compileChild((*arguments)[0]));
    }
    if (count > 0 && is<AssignExpression>((*arguments)[0])) return compileLocalTable(node);
    if (m_table != nullptr) {
        std::int32_t field = m_table->functionFieldOf(name, count);
        if (field >= 0) {
            if (m_observer != nullptr)
                m_observer->call(*this, node, {NameResolution::Kind::kFunction, field});
            return make<UserFuncCalculator>(compileAll(arguments), field);
        }
    }
    const Pointer<FuncStore>& functions = m_program.functions();
    if (auto function = functions->findFunction(name, count); !function.isNull()) {
        return make<BuildInFuncCalculator>(compileAll(arguments), function);
    }
    if (auto aggregate = functions->findAggregate(name, count); !aggregate.isNull()) {
        auto scan = make<ScanningSumFuncCalculator>(aggregate, compileAll(arguments));
        m_program.registerScan(scan, scan.get());
        return scan;
    }
    if (auto aggregate = functions->findAggregate(name, 1); !aggregate.isNull()) {
        return make<LocalSumFuncCalculator>(aggregate, compileAll(arguments));
    }
    return warningCalculator("func unknown");
}

CalculatorPointer LinkContext::compileLocalTable(const FuncExpression& node) {
    std::int32_t index = m_program.tableIndexOf(node.name()->view());
    if (m_observer != nullptr) {
        m_observer->call(*this, node,
                         index < 0 ? NameResolution{NameResolution::Kind::kUnresolved}
                                   : NameResolution{NameResolution::Kind::kTable, index});
    }
    if (index < 0) return warningCalculator(str("table ") + node.name() + " not found");
    const Pointer<ResolvedTable>& table = m_program.table(index);
    std::vector<LocalTableField> fields;
    for (const auto& argument : *node.arguments()) {
        auto assign = cast<AssignExpression>(argument);
        if (assign.isNull() || !is<IdentifierExpression>(assign->target())) {
            return warningCalculator("expecting identifer left of of assignment");
        }
        StringPointer fieldName = cast<IdentifierExpression>(assign->target())->name();
        std::int32_t field = table->fieldIndexOf(fieldName->view());
        if (field < 0) {
            StringPointer tableName = table->definition()->tableName();
            return warningCalculator(str("field ") + fieldName + " not found in table " +
                                     tableName);
        }
        fields.push_back({compileChild(assign->value()), field});
    }
    return make<LocalTableCalculator>(std::move(fields), index, node.toSource());
}

CalculatorPointer LinkContext::compile(const AtExpression& node) {
    if (m_calcTimeMode) return warningCalculator("unimplemented");
    std::int32_t field = m_table == nullptr ? -1 : m_table->fieldIndexOf(node.fieldName()->view());
    std::optional<std::int32_t> row;
    if (m_table != nullptr) row = m_table->rowIndexOf(node.rowName()->view());
    if (m_observer != nullptr) m_observer->cell(*this, node, field, row.value_or(-1));
    if (field < 0) return warningCalculator(str("undefined field:") + node.fieldName());
    if (!row) return warningCalculator(str("undefined tuple:") + node.rowName());
    return make<SpecificCellCalculator>(field, *row);
}

CalculatorPointer LinkContext::compile(const AssignExpression&) {
    return warningCalculator("assignment can not be evaluated");
}

CalculatorPointer LinkContext::compile(const UnaryExpression& node) {
    CalculatorPointer operand = compileChild(node.operand());
    if (node.op() == kMinus) return make<MinusUnaryCalculator>(operand);
    // A prefix plus is arithmetic: +x is x as a number, never "not x".
    if (node.op() == kPlus) return make<PlusUnaryCalculator>(operand);
    return make<NotUnaryCalculator>(operand);
}

CalculatorPointer LinkContext::compile(const BinaryExpression& node) {
    CalculatorPointer left = compileChild(node.left());
    CalculatorPointer right = compileChild(node.right());
    CalculatorPointer calculator = makeBinaryCalculator(node.op(), left, right);
    if (calculator.isNull()) return warningCalculator("unknown operator");
    return calculator;
}

CalculatorPointer LinkContext::compile(const IfExpression& node) {
    CalculatorPointer condition = compileChild(node.condition());
    CalculatorPointer thenPart = compileChild(node.thenPart());
    if (node.elsePart().isNull()) return make<IfCalculator>(condition, thenPart);
    return make<IfElseCalculator>(condition, thenPart, compileChild(node.elsePart()));
}

// The right side is compiled as a name looked up in the left side's value,
// with the function's parameters out of sight.
CalculatorPointer LinkContext::compile(const DotOperatorExpression& node) {
    CalculatorPointer left = compileChild(node.left());
    if (m_observer != nullptr && !m_calcTimeMode) m_observer->member(*this, node);
    bool savedMode = m_calcTimeMode;
    Pointer<FunctionSignature> savedScope = m_scope;
    m_calcTimeMode = true;
    m_scope = Pointer<FunctionSignature>();
    CalculatorPointer right = compileChild(node.right());
    m_calcTimeMode = savedMode;
    m_scope = savedScope;
    return make<DotCalculator>(left, right);
}

CalculatorPointer LinkContext::compile(const IndexOperatorExpression& node) {
    CalculatorPointer target = compileChild(node.target());
    if (is<IdentifierExpression>(node.index())) {
        std::string_view name = cast<IdentifierExpression>(node.index())->name()->view();
        if (name == "sum") return make<KnownIndexCalculator>(target, -1);
        if (name == "base") return make<KnownIndexCalculator>(target, 0);
    }
    return make<IndexCalculator>(target, compileChild(node.index()));
}

CalculatorPointer LinkContext::compile(const LastIndexExpression& node) {
    return make<LastIndexCalculator>(compileChild(node.target()));
}

CalculatorPointer LinkContext::compile(const SelectExpression& node) {
    std::int32_t index = m_program.tableIndexOf(node.tableName()->view());
    if (m_observer != nullptr) m_observer->select(*this, node, index);
    if (index < 0) return warningCalculator("can not find table");
    ResolvedTable* selected = m_program.table(index).get();
    Pointer<LinkContext> inner = withTable(selected);
    CalculatorPointer condition = compileSelectCondition(node.condition(), *inner);
    if (!inner->unresolvedNames().isNull()) {
        for (auto names = inner->unresolvedInOrder()->elements(); names->hasMoreElements();) {
            addUnresolved(cast<String>(names->nextElement()));
        }
    }
    return make<SelectCalculator>(index, condition);
}

// A selection reads the left operand of a comparison in each row of the
// selected table and the right operand in the calling row, so each side is
// compiled against the table it is read in; a right operand compiled against
// the selected table would read an unrelated field of the caller.
CalculatorPointer LinkContext::compileSelectCondition(const ExpressionPointer& condition,
                                                      LinkContext& selected) {
    auto binary = cast<BinaryExpression>(condition);
    if (binary.isNull()) return selected.compileChild(condition);
    bool comparison = binary->op() >= kLess && binary->op() <= kEqual;
    CalculatorPointer left = comparison ? selected.compileChild(binary->left())
                                        : compileSelectCondition(binary->left(), selected);
    CalculatorPointer right = comparison ? compileChild(binary->right())
                                         : compileSelectCondition(binary->right(), selected);
    CalculatorPointer calculator = makeBinaryCalculator(binary->op(), left, right);
    return calculator.isNull() ? warningCalculator("unknown operator") : calculator;
}

CalculatorPointer LinkContext::compile(const RangeExpression& node) {
    return make<RangeCalculator>(compileChild(node.from()), compileChild(node.to()),
                                 compileChild(node.step()), compileChild(node.steps()));
}

CalculatorPointer LinkContext::compile(const DataRangeExpression& node) {
    return make<DataRangeCalculator>(compileChild(node.expression()));
}

CalculatorPointer LinkContext::compile(const AltExpression& node) {
    return make<AltCalculator>(compileAll(node.alternatives()));
}

CalculatorPointer LinkContext::compile(const ErrorExpression& node) {
    return make<ValueCalculator>(make<Warning>(toText(node.error())));
}

}  // namespace qv
