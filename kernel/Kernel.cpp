#include "kernel/Kernel.h"

#include "core/Errors.h"
#include "core/LargeStack.h"
#include "kernel/LinkContext.h"
#include "kernel/RecomputePlan.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/TypedFormula.h"
#include "language/ExpressionParser.h"
#include "language/SourceExpressions.h"
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
        runComputing([&] { linked->linkRecordingReads(); });
        m_linked = linked;
    }
    return m_linked;
}

namespace {

// Brackets a computation with the feedback's two calls, also when the
// computation fails, so a client that shows a busy state always ends it.
class ComputeBracket {
  public:
    explicit ComputeBracket(const Pointer<AbstractKernelFeedback>& feedback)
        : m_feedback(feedback) {
        if (!m_feedback.isNull()) m_feedback->computeStarted();
    }
    ~ComputeBracket() {
        if (!m_feedback.isNull()) m_feedback->computeFinished();
    }
    ComputeBracket(const ComputeBracket&) = delete;
    ComputeBracket& operator=(const ComputeBracket&) = delete;

  private:
    Pointer<AbstractKernelFeedback> m_feedback;
};

}  // namespace

void Kernel::runComputing(const std::function<void()>& work) {
    if (!m_waitingHook) {
        runOnLargeStack(work);
        return;
    }
    bool waited = false;
    // Copies: the hooks may replace themselves while they run.
    std::function<void()> whileWaiting = m_waitingHook;
    std::function<void()> afterWaiting = m_afterWaiting;
    try {
        runOnLargeStack(work, [&] {
            waited = true;
            whileWaiting();
        });
    } catch (...) {
        if (waited && afterWaiting) afterWaiting();
        throw;
    }
    if (waited && afterWaiting) afterWaiting();
}

// The results are kept only once computed: a computation that fails (out of
// memory) leaves nothing half-filled behind that later reads would take
// for current.
const Pointer<ProgramResult>& Kernel::getResults() {
    const Pointer<ResolvedProgram>& linked = getLinked();
    if (m_results.isNull() || m_results->version() != linked->version()) {
        ComputeBracket bracket(m_feedback);
        m_stop.store(false, std::memory_order_relaxed);
        if (recomputeStale(linked)) return m_results;
        m_lastStaleFields = -1;
        auto results =
            make<ProgramResult>(ResultOptions{m_optionFlag, m_feedback, &m_stop}, linked);
        runComputing([&] { results->compute(); });
        // In place before computeFinished, which may read results.
        m_results = results;
        m_resultsStopped = m_stop.load(std::memory_order_relaxed);
    }
    return m_results;
}

// The results of the last computation brought up to date with the cells an
// edit made stale, when the edit allows it (see RecomputePlan).
bool Kernel::recomputeStale(const Pointer<ResolvedProgram>& linked) {
    if (m_results.isNull() || m_resultsStopped || !m_optionFlag ||
        !m_results->options().hideRepeats) {
        return false;
    }
    const ProgramReads* before = m_results->linked()->reads();
    const ProgramReads* after = linked->reads();
    if (before == nullptr || after == nullptr) return false;
    std::optional<RecomputePlan> plan = RecomputePlan::between(*before, *after);
    if (!plan) return false;
    bool recomputed = false;
    try {
        runComputing([&] { recomputed = m_results->recompute(linked, *plan); });
    } catch (...) {
        // Half brought up to date: the next request computes afresh.
        m_results = {};
        throw;
    }
    if (!recomputed) return false;
    m_resultsStopped = m_stop.load(std::memory_order_relaxed);
    m_lastStaleFields = plan->staleFieldCount();
    return true;
}

bool Kernel::dropStoppedResults() {
    if (!m_resultsStopped) return false;
    m_results = {};
    m_resultsStopped = false;
    return true;
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

void Kernel::checkTableText(const Pointer<StringStream>& stream) {
    make<TableParser>()->parseTable(stream);
}

StringPointer Kernel::readFormulaText(const Pointer<StringStream>& stream) {
    // A token the caller has already looked at is the expression's first.
    std::int32_t start = stream->hasLookahead() ? stream->tokenStart() : stream->position();
    auto before = make<StreamPosition>(Pointer<Token>(), start, start);
    make<ExpressionParser>()->parse(stream);
    return stream->sourceBetween(before, stream->mark())->trim();
}

// The tree's own printed form, not the text it was read from: the wrapper
// that keeps the typed text would hand back the text as typed.
StringPointer Kernel::formatExpression(const StringPointer& text) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(text);
    if (parsed.isNull()) return str("");
    if (is<ExpressionSource>(parsed))
        return cast<ExpressionSource>(parsed)->innermost()->toSource();
    return parsed->toSource();
}

Pointer<Object> Kernel::evaluateParsed(const ExpressionPointer& expression) {
    const Pointer<ResolvedProgram>& linked = getLinked();
    const Pointer<ProgramResult>& results = getResults();
    auto context = make<LinkContext>(*linked, nullptr, Pointer<FunctionSignature>());
    CalculatorPointer calculator = expression->compile(*context);
    if (!context->unresolvedNames().isNull()) return make<Warning>(context->unresolvedMessage());
    Pointer<Object> value;
    m_stop.store(false, std::memory_order_relaxed);
    runComputing([&] {
        TextBudgetScope texts(&results->textBudget());
        Evaluator evaluator;
        evaluator.setStopFlag(&m_stop);
        ResultEvaluatable top(*results, evaluator, calculator);
        value = evaluator.evaluateTop(top);
    });
    if (m_stop.load(std::memory_order_relaxed)) m_resultsStopped = true;
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
