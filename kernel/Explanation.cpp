// The derivation of a cell: its facts, the cells its formula read and the
// place a name names. Everything runs on the kernel's large stack.
#include "kernel/Explanation.h"

#include "core/Errors.h"
#include "core/LargeStack.h"
#include "kernel/CellReads.h"
#include "kernel/DependentSearch.h"
#include "kernel/Kernel.h"
#include "kernel/LinkContext.h"
#include "language/ExpressionParser.h"
#include "language/OperatorExpressions.h"
#include "language/SourceExpressions.h"

namespace qv {

namespace {

bool stopRequested(const ExplainLimits& limits) {
    return limits.stop != nullptr && limits.stop->load(std::memory_order_relaxed);
}

std::int32_t cellLimit(const ExplainLimits& limits) {
    return limits.maxCells < 0 ? 0 : limits.maxCells;
}

}  // namespace

// The formula as the grid shows it for the cell: its own, else the one it
// takes from its field or base table.
bool sameCell(const CellFacts& a, const CellFacts& b) {
    if (a.place.isCell() || b.place.isCell()) return a.place == b.place;
    return !a.name.isNull() && !b.name.isNull() && a.name->view() == b.name->view();
}

CellFacts cellFacts(ProgramResult& results, const CellPlace& place) {
    CellFacts facts;
    facts.place = place;
    facts.name = cellName(results, place);
    TableResult& table = *results.getTable(place.table);
    ExpressionPointer formula = table.resolved()->cellFormula(place.field, place.row);
    facts.formula = formula.isNull() ? str("") : formula->toSource();
    facts.value = table.value(place.field, place.row);
    return facts;
}

CellFacts Explanation::facts(const CellPlace& place) {
    ProgramResult& results = *m_kernel.getResults();
    CellFacts facts;
    runOnLargeStack([&] { facts = cellFacts(results, place); });
    return facts;
}

std::vector<CellFacts> Explanation::precedents(const CellPlace& place,
                                               const ExplainLimits& limits) {
    ProgramResult& results = *m_kernel.getResults();
    std::vector<CellFacts> cells;
    runOnLargeStack([&] {
        cellName(results, place);  // throws for a place that names no cell
        if (stopRequested(limits)) return;
        CellReads reads =
            readCells(results, place, {cellLimit(limits), nullptr, INT64_MAX, limits.stop, {}});
        for (const CellPlace& read : reads.places) {
            if (stopRequested(limits)) return;
            cells.push_back(cellFacts(results, read));
        }
    });
    return cells;
}

std::vector<CellFacts> Explanation::dependents(const CellPlace& place, const ExplainLimits& limits,
                                               bool* complete) {
    ProgramResult& results = *m_kernel.getResults();
    std::vector<CellFacts> cells;
    bool searchedAll = false;
    runOnLargeStack([&] {
        cellName(results, place);  // throws for a place that names no cell
        DependentBounds bounds{cellLimit(limits), limits.maxScanned, limits.maxReads, limits.stop};
        FoundDependents found = findDependents(results, place, bounds);
        for (const CellPlace& cell : found.cells) {
            if (stopRequested(limits)) return;
            cells.push_back(cellFacts(results, cell));
        }
        searchedAll = found.complete;
    });
    if (complete != nullptr) *complete = searchedAll;
    return cells;
}

namespace {

// The expression itself, not the wrapper that keeps its typed text.
ExpressionPointer innermost(const ExpressionPointer& expression) {
    if (is<ExpressionSource>(expression)) return cast<ExpressionSource>(expression)->innermost();
    return expression;
}

// Compiles an expression as the kernel compiles one given outside any
// table; a text that does not read or link throws the reason.
CalculatorPointer compileOutside(Kernel& kernel, const ExpressionPointer& expression) {
    const Pointer<ResolvedProgram>& linked = kernel.getLinked();
    auto context = make<LinkContext>(*linked, nullptr, Pointer<FunctionSignature>());
    CalculatorPointer calculator = expression->compile(*context);
    if (!context->unresolvedNames().isNull()) throwString(context->unresolvedMessage());
    return calculator;
}

ExpressionPointer parseOrThrow(const StringPointer& text) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(text);
    if (parsed.isNull() || !parsed->errorOf().isNull()) throwString(str("bad expression"));
    return parsed;
}

}  // namespace

// A name is a dot or an index that reads exactly one cell; that cell is
// the place it names.
CellPlace Explanation::placeOf(const StringPointer& name) {
    ExpressionPointer parsed = parseOrThrow(name);
    ExpressionPointer expression = innermost(parsed);
    if (!is<DotOperatorExpression>(expression) && !is<IndexOperatorExpression>(expression)) {
        throwString(str("not the name of a cell: ") + name->trim());
    }
    CalculatorPointer calculator = compileOutside(m_kernel, parsed);
    ProgramResult& results = *m_kernel.getResults();
    CellReads reads;
    runOnLargeStack([&] {
        Pointer<Object> value;
        reads = readExpression(results, calculator, 2, value);
    });
    if (reads.places.size() != 1) throwString(str("not the name of a cell: ") + name->trim());
    return reads.places.front();
}

Explanation::ExpressionFacts Explanation::expression(const StringPointer& text,
                                                     const ExplainLimits& limits) {
    ExpressionFacts facts;
    if (!text.isNull() && text->trim()->equals("tables")) {
        facts.value = Pointer<Object>(&m_kernel);
        return facts;
    }
    ExpressionPointer parsed;
    CalculatorPointer calculator;
    try {
        parsed = parseOrThrow(text);
        calculator = compileOutside(m_kernel, parsed);
    } catch (const StringPointer& message) {
        facts.value = make<Warning>(message);
        facts.cause = causeOfValue(facts.value, CellPlace{});
        return facts;
    }
    ProgramResult& results = *m_kernel.getResults();
    runOnLargeStack([&] {
        CellReads reads = readExpression(results, calculator, cellLimit(limits), facts.value);
        for (const CellPlace& read : reads.places) {
            if (stopRequested(limits)) return;
            facts.precedents.push_back(cellFacts(results, read));
        }
    });
    facts.cause = causeOfValue(facts.value, CellPlace{});
    return facts;
}

}  // namespace qv
