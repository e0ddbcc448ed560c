#include "kernel/Kernel.h"

#include "core/Errors.h"
#include "core/LargeStack.h"
#include "kernel/LinkContext.h"
#include "kernel/ResultEvaluatable.h"
#include "language/ExpressionParser.h"
#include "language/TableParser.h"

namespace qv {

Kernel::Kernel(const Pointer<AbstractKernelFeedback>& feedback)
    : m_program(make<ProgramDef>()), m_functions(make<FuncStore>()), m_feedback(feedback) {}

void Kernel::setOptionFlag(bool flag) {
    m_optionFlag = flag;
    m_program->touch();
}

const Pointer<ResolvedProgram>& Kernel::getLinked() {
    if (m_linked.isNull() || m_linked->version() != m_program->changeCount()) {
        auto linked = make<ResolvedProgram>(m_program, m_functions);
        runOnLargeStack([&] { linked->link(); });
        m_linked = linked;
    }
    return m_linked;
}

const Pointer<ProgramResult>& Kernel::getResults() {
    const Pointer<ResolvedProgram>& linked = getLinked();
    if (m_results.isNull() || m_results->version() != linked->version()) {
        auto results = make<ProgramResult>(this, linked);
        m_results = results;
        if (!m_feedback.isNull()) m_feedback->computeStarted();
        runOnLargeStack([&] { results->compute(); });
        if (!m_feedback.isNull()) m_feedback->computeFinished();
    }
    return m_results;
}

Pointer<TableResult> Kernel::getTable(std::int32_t index) {
    const Pointer<ProgramResult>& results = getResults();
    if (index < 0 || index >= results->tableCount()) return {};
    return results->getTable(index);
}

std::int32_t Kernel::getTableIndex(std::string_view name) {
    return getLinked()->tableIndexOf(name);
}

Pointer<TableResult> Kernel::getTableByName(std::string_view name) {
    std::int32_t index = getTableIndex(name);
    if (index < 0) throwMessage("table not found");
    return getTable(index);
}

Pointer<TableResult> Kernel::addTableFromText(const Pointer<StringStream>& stream) {
    m_program->addTable(make<TableParser>()->parseTable(stream));
    return getTable(m_program->tableCount() - 1);
}

Pointer<TableResult> Kernel::addEmptyTable() {
    m_program->addTable(make<TableDef>(m_program.get()));
    return getTable(m_program->tableCount() - 1);
}

void Kernel::checkTableText(const Pointer<StringStream>& stream) {
    make<TableParser>()->parseTable(stream);
}

StringPointer Kernel::readFormulaText(const Pointer<StringStream>& stream) {
    Pointer<StreamPosition> before = stream->mark();
    make<ExpressionParser>()->parse(stream);
    return stream->sourceBetween(before, stream->mark())->trim();
}

StringPointer Kernel::formatExpression(const StringPointer& text) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(text);
    if (parsed.isNull()) return str("");
    return parsed->toSource();
}

Pointer<Object> Kernel::evaluateParsed(const ExpressionPointer& expression) {
    const Pointer<ResolvedProgram>& linked = getLinked();
    const Pointer<ProgramResult>& results = getResults();
    auto context = make<LinkContext>(*linked, nullptr, Pointer<FunctionSignature>());
    CalculatorPointer calculator = expression->compile(*context);
    if (!context->unresolvedNames().isNull()) return make<Warning>(context->unresolvedMessage());
    Pointer<Object> value;
    runOnLargeStack([&] {
        Evaluator evaluator;
        ResultEvaluatable top(*results, evaluator, calculator);
        value = evaluator.evaluateTop(top);
    });
    return value;
}

Pointer<Object> Kernel::evaluateText(const StringPointer& text) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(toFormulaText(text));
    if (parsed.isNull() || !parsed->errorOf().isNull()) return str("");
    return evaluateParsed(parsed);
}

Pointer<Object> Kernel::evaluateExpression(const StringPointer& text) {
    if (!text.isNull() && text->trim()->equals("tables")) return Pointer<Object>(this);
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(text);
    if (parsed.isNull() || !parsed->errorOf().isNull()) return make<Warning>(str("bad expression"));
    return evaluateParsed(parsed);
}

Pointer<Object> Kernel::clone() const {
    auto copy = make<Kernel>(m_feedback);
    copy->m_optionFlag = m_optionFlag;
    copy->m_program = cast<ProgramDef>(m_program->clone());
    return copy;
}

}  // namespace qv
