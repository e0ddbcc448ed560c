#include "views/ExplainTree.h"

#include <algorithm>

#include "kernel/ValueKinds.h"

namespace qv {

namespace {

bool isErrorValue(const CellFacts& facts) {
    return !facts.value.isNull() && valueKind(*facts.value.object()) == ValueKind::Error;
}

// Whether two origins are the same error: a field whose value cannot
// differ by row computes it once, in its formula row, which stands for
// every row.
bool sameOrigin(const CellPlace& a, const CellPlace& b) {
    if (a == b) return true;
    return a.table == b.table && a.field == b.field && (a.row == 0 || b.row == 0);
}

bool sameOrigin(const CellFacts& a, const CellFacts& b) {
    if (a.place.isCell() || b.place.isCell()) return sameOrigin(a.place, b.place);
    return sameCell(a, b);
}

bool contains(const std::vector<CellFacts>& cells, const CellPlace& place) {
    return std::any_of(cells.begin(), cells.end(),
                       [&](const CellFacts& cell) { return cell.place == place; });
}

}  // namespace

ExplainLimits ExplainTree::limits() {
    ExplainLimits limits;
    limits.maxDepth = 1;
    limits.maxCells = kMaxCells;
    limits.stop = m_stopFlag;
    return limits;
}

void ExplainTree::clear() {
    m_kernel = {};
    m_subject = {};
    m_cause = {};
    m_root = {};
    m_root.unfolded = true;
    m_dependents.clear();
    m_dependentsCut = false;
    m_focus = -1;
}

void ExplainTree::explain(const Pointer<Kernel>& kernel, const CellPlace& place) {
    clear();
    if (kernel.isNull() || !place.isCell()) return;
    m_stopFlag->store(false, std::memory_order_relaxed);
    try {
        Explanation explanation(*kernel);
        m_kernel = kernel;
        m_subject = explanation.facts(place);
        m_cause = explanation.cause(place);
        m_root.facts = m_subject;
        unfoldNode(m_root);
        bool complete = true;
        m_dependents = explanation.dependents(place, limits(), &complete);
        m_dependentsCut = !complete;
        openPathToCause();
    } catch (const StringPointer&) {
        // The cell is gone from the results (an edit removed its table or row).
        clear();
    }
}

void ExplainTree::unfoldNode(ExplainNode& node) {
    node.children.clear();
    Explanation explanation(*m_kernel);
    for (CellFacts& facts : explanation.precedents(node.facts.place, limits())) {
        ExplainNode child;
        child.facts = std::move(facts);
        node.children.push_back(std::move(child));
    }
    node.unfolded = true;
    node.lines = 1 + static_cast<std::int32_t>(node.children.size());
}

// After a node's lines changed, every node above it counts again.
void ExplainTree::recount(const std::vector<ExplainNode*>& path) {
    for (auto at = path.rbegin(); at != path.rend(); ++at) {
        ExplainNode& node = **at;
        node.lines = 1;
        if (!node.unfolded) continue;
        for (const ExplainNode& child : node.children)
            node.lines += child.lines;
    }
}

// The node of a line, with the nodes above it (the root first, the node
// last) when asked.
ExplainNode* ExplainTree::nodeAt(std::int32_t index, std::vector<ExplainNode*>* path) {
    if (index < 0 || index >= lineCount()) return nullptr;
    ExplainNode* parent = &m_root;
    if (path != nullptr) path->assign(1, parent);
    while (parent != nullptr) {
        ExplainNode* below = nullptr;
        for (ExplainNode& child : parent->children) {
            if (index >= child.lines) {
                index -= child.lines;
                continue;
            }
            if (path != nullptr) path->push_back(&child);
            if (index == 0) return &child;
            index -= 1;
            below = &child;
            break;
        }
        parent = below;
    }
    return nullptr;
}

ExplainTree::Line ExplainTree::line(std::int32_t index) const {
    std::vector<ExplainNode*> path;
    const ExplainNode* node = const_cast<ExplainTree*>(this)->nodeAt(index, &path);
    if (node == nullptr) return {};
    return {node, static_cast<std::int32_t>(path.size()) - 2};
}

std::int32_t ExplainTree::parentLine(std::int32_t index) const {
    std::int32_t depth = line(index).depth;
    for (std::int32_t at = index - 1; at >= 0; --at) {
        if (line(at).depth < depth) return at;
    }
    return -1;
}

bool ExplainTree::unfold(std::int32_t index) {
    std::vector<ExplainNode*> path;
    ExplainNode* node = nodeAt(index, &path);
    if (node == nullptr || m_kernel.isNull()) return false;
    if (node->unfolded) return true;
    m_stopFlag->store(false, std::memory_order_relaxed);
    try {
        unfoldNode(*node);
    } catch (const StringPointer&) {
        node->children.clear();
        node->unfolded = true;
    }
    recount(path);
    return true;
}

bool ExplainTree::fold(std::int32_t index) {
    std::vector<ExplainNode*> path;
    ExplainNode* node = nodeAt(index, &path);
    if (node == nullptr) return false;
    node->unfolded = false;
    node->children.clear();
    node->children.shrink_to_fit();
    recount(path);
    return true;
}

bool ExplainTree::toggle(std::int32_t index) {
    const ExplainNode* node = line(index).node;
    if (node == nullptr) return false;
    return node->unfolded ? fold(index) : unfold(index);
}

// Follows the error from the subject down: at each level the precedent
// that leads on (the origin itself, a cell of the cycle, or an error with
// the same cause) is unfolded, until the origin or a bound is reached.
void ExplainTree::openPathToCause() {
    m_focus = -1;
    if (m_cause.kind == Cause::Kind::None) return;
    const bool cycle = m_cause.kind == Cause::Kind::Cycle;
    std::vector<CellPlace> visited{m_subject.place};
    std::int32_t at = -1;  // the line whose children are searched; -1 for the root
    Explanation explanation(*m_kernel);
    for (std::int32_t depth = 0; depth < kMaxPathDepth; ++depth) {
        const ExplainNode& parent = at < 0 ? m_root : *line(at).node;
        std::int32_t next = -1;
        for (std::size_t i = 0; i < parent.children.size() && next < 0; ++i) {
            const CellFacts& child = parent.children[i].facts;
            bool leads = false;
            if (cycle) {
                leads = contains(m_cause.cycle, child.place);
            } else if (sameOrigin(child.place, m_cause.origin.place)) {
                leads = true;
            } else if (isErrorValue(child)) {
                leads = sameOrigin(explanation.cause(child.place).origin, m_cause.origin);
            }
            if (leads) next = (at < 0 ? 0 : at + 1) + lineOffset(parent, i);
        }
        if (next < 0) return;
        m_focus = next;
        CellPlace reached = line(next).node->facts.place;
        bool seen = std::find(visited.begin(), visited.end(), reached) != visited.end();
        if (seen || (!cycle && sameOrigin(reached, m_cause.origin.place))) return;
        visited.push_back(reached);
        unfold(next);
        at = next;
    }
}

// The line offset of a parent's i-th child below the parent's first child.
std::int32_t ExplainTree::lineOffset(const ExplainNode& parent, std::size_t child) {
    std::int32_t offset = 0;
    for (std::size_t i = 0; i < child; ++i)
        offset += parent.children[i].lines;
    return offset;
}

}  // namespace qv
