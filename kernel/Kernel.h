// Kernel: the one object a client talks to about a model. It owns the
// program model and the function registry, links and computes lazily, and
// rebuilds both whole whenever the model's change counter has moved.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "functions/FuncStore.h"
#include "kernel/KernelFeedback.h"
#include "kernel/ProgramResult.h"
#include "kernel/ResolvedProgram.h"
#include "language/ProgramDef.h"
#include "language/StringStream.h"

namespace qv {

class Kernel final : public Object {
    QV_OBJECT(Kernel, Object, "Kernel")
  public:
    explicit Kernel(const Pointer<AbstractKernelFeedback>& feedback = {});

    const Pointer<ProgramDef>& program() const noexcept { return m_program; }
    const Pointer<FuncStore>& functions() const noexcept { return m_functions; }
    const Pointer<AbstractKernelFeedback>& feedback() const noexcept { return m_feedback; }

    Pointer<Object> evaluateText(const StringPointer& text);
    void setOptionFlag(bool flag);
    bool getOptionFlag() const noexcept { return m_optionFlag; }
    std::int32_t getChangeCount() const noexcept { return m_program->changeCount(); }
    std::int32_t getTableCount() const noexcept { return m_program->tableCount(); }
    // Throws "table not found".
    Pointer<TableResult> getTableByName(std::string_view name);
    Pointer<TableResult> getTable(std::int32_t index);
    std::int32_t getTableIndex(std::string_view name);
    Pointer<TableResult> addTableFromText(const Pointer<StringStream>& stream);
    void checkTableText(const Pointer<StringStream>& stream);
    StringPointer readFormulaText(const Pointer<StringStream>& stream);
    StringPointer formatExpression(const StringPointer& text);
    // As evaluateText; the word "tables" answers the kernel itself.
    Pointer<Object> evaluateExpression(const StringPointer& text);

    const Pointer<ResolvedProgram>& getLinked();
    const Pointer<ProgramResult>& getResults();

    // Called on the calling thread about every 50 ms while the program is
    // linked or computed on the computing thread, so that a window can
    // repaint its progress and take a request to stop. The hook must not
    // touch this kernel. `afterWaiting`, when given, is called once the
    // work has ended (also when it failed) if the hook was called during
    // it, so the window can take its progress down again.
    void setWaitingHook(std::function<void()> hook, std::function<void()> afterWaiting = {}) {
        m_waitingHook = std::move(hook);
        m_afterWaiting = std::move(afterWaiting);
    }
    // Stops the computation in progress, from any thread or from the
    // waiting hook: the cells not yet computed hold "calculation stopped"
    // until the model changes and the next request computes again.
    void requestStop() noexcept { m_stop.store(true, std::memory_order_relaxed); }
    // Compute: when a computation was stopped since the results were made,
    // they are dropped, so the next request computes the stopped cells
    // again. True when there was something to drop.
    bool dropStoppedResults();
    // How the last computation went: the number of fields whose stale cells
    // it computed again, or -1 when it computed everything.
    std::int64_t lastStaleFieldCount() const noexcept { return m_lastStaleFields; }

    Pointer<Object> clone() const override;
    StringPointer describe() const override { return m_program->describe(); }
    StringPointer toSource() const override { return m_program->toSource(); }

  private:
    Pointer<Object> evaluateParsed(const ExpressionPointer& expression);
    bool recomputeStale(const Pointer<ResolvedProgram>& linked);
    // On the computing thread's large stack, with the waiting hook.
    void runComputing(const std::function<void()>& work);

    Pointer<ProgramDef> m_program;
    Pointer<ResolvedProgram> m_linked;
    Pointer<ProgramResult> m_results;
    Pointer<FuncStore> m_functions;
    Pointer<AbstractKernelFeedback> m_feedback;
    bool m_optionFlag = true;
    std::function<void()> m_waitingHook;
    std::function<void()> m_afterWaiting;
    std::atomic<bool> m_stop{false};
    // A stop reached the current results (their computation, or a lazy
    // cell computed for an expression): some cells say so.
    bool m_resultsStopped = false;
    std::int64_t m_lastStaleFields = -1;
};

}  // namespace qv
