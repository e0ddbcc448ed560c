// What the explain view shows of one cell: its facts, its cause when it
// holds an error, the tree of the cells its value read (each level asked of
// the kernel only when the user unfolds it) and the cells that read it.
// The only state kept per line is that of the unfolded nodes: a folded
// node holds its facts and nothing below it, so a long list of precedents
// costs what its facts do.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "kernel/Explanation.h"
#include "kernel/Kernel.h"

namespace qv {

struct ExplainNode {
    CellFacts facts;
    // The cells it read; filled only while unfolded.
    std::vector<ExplainNode> children;
    bool unfolded = false;
    // The lines the node takes in the tree: itself and, unfolded, its
    // children's lines.
    std::int32_t lines = 1;
};

class ExplainTree {
  public:
    // How many cells one unfolding and the list of dependents hold at
    // most, and how deep an error's path to its origin is opened.
    static constexpr std::int32_t kMaxCells = 1000;
    static constexpr std::int32_t kMaxPathDepth = 64;

    // A line of the tree: the node and its depth (0 for the cells the
    // subject read).
    struct Line {
        const ExplainNode* node = nullptr;
        std::int32_t depth = 0;
    };

    // Explains the cell of `kernel`'s current results: its facts, cause,
    // first level of precedents and its dependents. For an error the tree
    // opens on the path to the origin (or around the cycle). A message the
    // kernel throws (a place that names no cell) leaves the tree empty.
    void explain(const Pointer<Kernel>& kernel, const CellPlace& place);
    void clear();

    bool isEmpty() const noexcept { return !m_subject.place.isCell(); }
    const CellFacts& subject() const noexcept { return m_subject; }
    const Cause& cause() const noexcept { return m_cause; }
    const std::vector<CellFacts>& dependents() const noexcept { return m_dependents; }
    // Whether the search for dependents stopped early (a bound or a stop),
    // so that more cells than the list holds may read the subject.
    bool dependentsCut() const noexcept { return m_dependentsCut; }

    std::int32_t lineCount() const noexcept { return m_root.lines - 1; }
    Line line(std::int32_t index) const;
    // Unfolds a folded line (asking the kernel for its precedents) or
    // folds an unfolded one. False when the index names no line.
    bool toggle(std::int32_t index);
    bool unfold(std::int32_t index);
    bool fold(std::int32_t index);
    // The line of the node's parent, -1 at depth 0.
    std::int32_t parentLine(std::int32_t index) const;
    // Where an error's path ended (the origin, or where the cycle closes);
    // -1 when none was opened.
    std::int32_t focusLine() const noexcept { return m_focus; }

    // The flag that stops an explanation under way, set from another
    // thread or from the kernel's waiting hook (the window's Stop); each
    // explanation and unfolding clears it first. The tree's own flag by
    // default; the given one must outlive the tree.
    void useStopFlag(std::atomic<bool>* stop) noexcept {
        m_stopFlag = stop == nullptr ? &m_stop : stop;
    }
    void requestStop() noexcept { m_stopFlag->store(true, std::memory_order_relaxed); }

  private:
    ExplainNode* nodeAt(std::int32_t index, std::vector<ExplainNode*>* path = nullptr);
    void unfoldNode(ExplainNode& node);
    void recount(const std::vector<ExplainNode*>& path);
    void openPathToCause();
    static std::int32_t lineOffset(const ExplainNode& parent, std::size_t child);
    ExplainLimits limits();

    Pointer<Kernel> m_kernel;
    CellFacts m_subject;
    Cause m_cause;
    // The subject's node: always unfolded, its children the first level.
    ExplainNode m_root;
    std::vector<CellFacts> m_dependents;
    bool m_dependentsCut = false;
    std::int32_t m_focus = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool>* m_stopFlag = &m_stop;
};

}  // namespace qv
