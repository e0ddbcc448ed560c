#include "cli/ExplainTree.h"

#include <optional>
#include <set>
#include <tuple>

#include "cli/ErrorCauses.h"
#include "core/ValueConversions.h"

namespace qv::cli {

namespace {

struct PlaceOrder {
    bool operator()(const CellPlace& a, const CellPlace& b) const noexcept {
        return std::tie(a.table, a.field, a.row) < std::tie(b.table, b.field, b.row);
    }
};
using PlaceSet = std::set<CellPlace, PlaceOrder>;

std::string_view viewOf(const StringPointer& text) {
    return text.isNull() ? std::string_view() : text->view();
}

ShownCell shownCell(const CellFacts& facts, std::size_t maxText) {
    ShownCell cell;
    cell.name = cutText(viewOf(facts.name), maxText);
    cell.formula = cutText(viewOf(facts.formula), maxText);
    cell.value = cutText(toText(facts.value)->view(), maxText);
    cell.error = isErrorValue(facts.value);
    return cell;
}

// Builds the report: first the way from the value to the origin of its
// error, then the tree in the order it is shown, unfolding each cell the
// first time it shows, within the depth or on the way.
class Explainer {
  public:
    Explainer(ExplainedCells& cells, const ExplainBounds& bounds)
        : m_cells(cells), m_bounds(bounds) {}

    ExplainReport run(const std::string& expression) {
        m_report.expression = expression;
        std::vector<CellFacts> rootReads = explainRoot(expression);
        if (m_cause.kind != Cause::Kind::None) findWay(rootReads);
        unfold(std::move(rootReads));
        if (m_target && !m_targetShown && !m_stopped) showOriginApart();
        if (m_stopped) m_report.complete = false;
        return std::move(m_report);
    }

  private:
    struct Pending {
        CellFacts facts;
        std::int32_t level;
        bool leftOut;         // the "..." after a cell's list that was cut
        bool origin = false;  // an origin that is no cell, under the cell that reached it
    };

    bool stopped() {
        if (!m_stopped && m_bounds.stopped()) m_stopped = true;
        return m_stopped;
    }

    // The explained value's node and cause; returns the cells it read.
    std::vector<CellFacts> explainRoot(const std::string& expression) {
        std::optional<CellPlace> place = m_cells.cellNamed(expression);
        CellFacts root;
        std::vector<CellFacts> reads;
        if (place) {
            root = m_cells.facts(*place);
            m_cause = m_cells.cause(*place);
            reads = readBy(*place);
        } else {
            Explanation::ExpressionFacts facts =
                m_cells.expression(expression, m_bounds.maxChildren + 1);
            root.value = facts.value;
            m_cause = facts.cause;
            reads = std::move(facts.precedents);
        }
        m_rootPlace = place;
        ExplainNode node;
        node.cell = shownCell(root, m_bounds.maxText);
        if (!place) {
            node.cell.named = false;
            node.cell.name.clear();
            node.cell.formula = cutText(expression, m_bounds.maxText);
        }
        m_report.nodes.push_back(std::move(node));
        noteCause();
        return reads;
    }

    void noteCause() {
        m_report.causeKind = m_cause.kind;
        m_report.causeText = cutText(viewOf(m_cause.text), m_bounds.maxText);
        if (m_cause.kind == Cause::Kind::Cycle) {
            for (const CellFacts& cell : m_cause.cycle)
                m_report.causeCells.push_back(shownCell(cell, m_bounds.maxText));
        } else if (m_cause.kind != Cause::Kind::None) {
            m_report.causeCells.push_back(shownCell(m_cause.origin, m_bounds.maxText));
            if (m_cause.origin.place.isCell()) {
                m_target = m_cause.origin.place;
            } else {
                // A local table's cell: named, but no cell of the results.
                m_namedOrigin = !viewOf(m_cause.origin.name).empty();
            }
        }
        bool rootIsOrigin = m_target ? m_rootPlace == m_target
                                     : !m_namedOrigin && (m_cause.kind == Cause::Kind::Origin ||
                                                          m_cause.kind == Cause::Kind::Stopped);
        if (rootIsOrigin) {
            m_report.nodes[0].mark = ExplainNode::Mark::Origin;
            m_targetShown = true;
        }
        if (m_rootPlace) m_shown.insert(*m_rootPlace);
    }

    // One more than a list shows, to know that it was cut.
    std::vector<CellFacts> readBy(const CellPlace& place) {
        return m_cells.precedents(place, m_bounds.maxChildren + 1);
    }

    // Whether the error of `place` has the explained error's cause.
    bool sharesCause(const CellPlace& place) {
        if (m_target && place == *m_target) return true;
        return sameCause(m_cells.cause(place), m_cause);
    }

    // From the value, the first cell read with the same cause, and so on to
    // the origin, or once round the loop.
    void findWay(std::vector<CellFacts> reads) {
        if (m_targetShown) return;
        for (std::int32_t step = 0; step < m_bounds.maxWay && !stopped(); ++step) {
            const CellFacts* next = nullptr;
            for (const CellFacts& read : reads) {
                if (!isErrorValue(read.value) || m_way.count(read.place) > 0) continue;
                if (m_rootPlace && read.place == *m_rootPlace) continue;
                if (sharesCause(read.place)) {
                    next = &read;
                    break;
                }
            }
            if (next == nullptr) return;
            m_way.insert(next->place);
            m_wayEnd = next->place;
            if (m_target && next->place == *m_target) return;
            reads = readBy(next->place);
        }
    }

    bool onWay(const CellPlace& place) const { return m_way.count(place) > 0; }

    void unfold(std::vector<CellFacts> rootReads) {
        ExplainNode& root = m_report.nodes[0];
        root.unfolded = m_bounds.depth > 0 || !m_way.empty() || m_namedOrigin;
        if (!root.unfolded) return;
        std::vector<Pending> pending;
        if (!m_wayEnd) pushNamedOrigin(pending, 1);
        push(pending, std::move(rootReads), 1);
        while (!pending.empty()) {
            Pending next = std::move(pending.back());
            pending.pop_back();
            if (next.leftOut) {
                leaveOut(next.level);
                continue;
            }
            if (next.origin) {
                m_report.nodes.push_back(originNode(next.level));
                continue;
            }
            const CellPlace& place = next.facts.place;
            if (!onWay(place) && m_cellsShown >= m_bounds.maxCells) {
                leaveOut(next.level);
                continue;
            }
            ExplainNode node = nodeFor(next);
            ++m_cellsShown;
            if (node.unfolded && !stopped()) {
                if (m_wayEnd && place == *m_wayEnd) pushNamedOrigin(pending, next.level + 1);
                push(pending, readBy(place), next.level + 1);
            } else {
                node.unfolded = false;
            }
            m_report.nodes.push_back(std::move(node));
        }
    }

    ExplainNode nodeFor(const Pending& pending) {
        const CellPlace& place = pending.facts.place;
        ExplainNode node;
        node.cell = shownCell(pending.facts, m_bounds.maxText);
        node.level = pending.level;
        if (m_shown.count(place) > 0) {
            node.mark = ExplainNode::Mark::SeeAbove;
            return node;
        }
        m_shown.insert(place);
        if (m_target && place == *m_target) {
            node.mark = ExplainNode::Mark::Origin;
            m_targetShown = true;
        }
        node.unfolded = pending.level < m_bounds.depth || onWay(place);
        return node;
    }

    // The cells a cell read, to be shown in order; a list cut at its bound
    // ends in "...".
    void push(std::vector<Pending>& pending, std::vector<CellFacts> reads, std::int32_t level) {
        if (reads.size() > static_cast<std::size_t>(m_bounds.maxChildren)) {
            reads.resize(static_cast<std::size_t>(m_bounds.maxChildren));
            pending.push_back({CellFacts(), level, true});
        }
        for (auto read = reads.rbegin(); read != reads.rend(); ++read)
            pending.push_back({std::move(*read), level, false});
    }

    // One "..." for the cells left out together.
    void leaveOut(std::int32_t level) {
        m_report.complete = false;
        const ExplainNode& last = m_report.nodes.back();
        if (last.mark == ExplainNode::Mark::LeftOut && last.level == level) return;
        ExplainNode node;
        node.level = level;
        node.mark = ExplainNode::Mark::LeftOut;
        m_report.nodes.push_back(std::move(node));
    }

    // An origin that is no cell comes last under the cell whose formula
    // reached it (the end of the way, or the value itself).
    void pushNamedOrigin(std::vector<Pending>& pending, std::int32_t level) {
        if (m_namedOrigin) pending.push_back({CellFacts(), level, false, true});
    }

    ExplainNode originNode(std::int32_t level) {
        ExplainNode node;
        node.cell = shownCell(m_cause.origin, m_bounds.maxText);
        node.level = level;
        node.mark = ExplainNode::Mark::Origin;
        return node;
    }

    // The origin, when the way to it was too long (or could not be
    // followed): at the end, after a "...".
    void showOriginApart() {
        leaveOut(1);
        m_report.nodes.push_back(originNode(1));
    }

    ExplainedCells& m_cells;
    const ExplainBounds& m_bounds;
    ExplainReport m_report;
    Cause m_cause;
    std::optional<CellPlace> m_rootPlace;
    std::optional<CellPlace> m_target;  // the origin, when it is a cell
    bool m_namedOrigin = false;         // the origin, when it is a named cell of no table
    std::optional<CellPlace> m_wayEnd;  // the last cell of the way
    PlaceSet m_way;
    PlaceSet m_shown;
    std::int32_t m_cellsShown = 0;
    bool m_targetShown = false;
    bool m_stopped = false;
};

}  // namespace

std::string cutText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "...";
}

std::optional<CellPlace> KernelCells::cellNamed(const std::string& expression) {
    try {
        CellPlace place = m_explanation.placeOf(str(expression));
        if (place.isCell()) return place;
    } catch (const StringPointer&) {
        // Not the name of a cell: an expression to compute.
    }
    return std::nullopt;
}

std::vector<CellFacts> KernelCells::precedents(const CellPlace& place, std::int32_t maxCells) {
    ExplainLimits limits;
    limits.maxCells = maxCells;
    return m_explanation.precedents(place, limits);
}

Explanation::ExpressionFacts KernelCells::expression(const std::string& text,
                                                     std::int32_t maxCells) {
    ExplainLimits limits;
    limits.maxCells = maxCells;
    Explanation::ExpressionFacts facts = m_explanation.expression(str(text), limits);
    // The cause as the value carries it, where the facts do not tell it.
    if (facts.cause.kind == Cause::Kind::None && isErrorValue(facts.value))
        facts.cause = m_explanation.causeOfValue(facts.value, CellPlace());
    return facts;
}

ExplainReport explain(ExplainedCells& cells, const std::string& expression,
                      const ExplainBounds& bounds) {
    return Explainer(cells, bounds).run(expression);
}

}  // namespace qv::cli
