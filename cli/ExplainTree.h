// A value unfolded into the cells it came from, as `qvl explain` prints
// it: the cells each cell read, level by level, each cell unfolded once,
// and for an error the whole way to the cell where it began. Everything is
// bounded (levels, cells, text lengths), since the expression and the
// document come from users.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/Explanation.h"

namespace qv::cli {

// A cell (or the explained expression itself) as it is shown.
struct ShownCell {
    bool named = true;    // false for the expression, which has a formula only
    std::string name;     // texts cut as ExplainBounds::maxText says
    std::string formula;  // empty when the cell has none
    std::string value;    // the value's display text
    bool error = false;   // the value is an error
};

// One line of the tree. The tree is kept flat, in the order it is shown,
// each node after its parent with its level one more: the way to an origin
// may be a thousand levels deep, which no recursion should have to walk.
struct ExplainNode {
    enum class Mark : std::uint8_t {
        None,
        SeeAbove,  // shown before: not unfolded again (which also ends a loop)
        Origin,    // where the explained error began
        LeftOut,   // no cell: the line "..." where the bounds left cells out
    };
    ShownCell cell;
    std::int32_t level = 0;
    Mark mark = Mark::None;
    bool unfolded = false;  // the cells it read were asked (and follow it)
};

struct ExplainReport {
    std::string expression;
    Cause::Kind causeKind = Cause::Kind::None;
    std::string causeText;
    std::vector<ShownCell> causeCells;  // the origin, or the cells of the loop
    std::vector<ExplainNode> nodes;     // nodes[0] is the explained value
    bool complete = true;               // no cell was left out
};

struct ExplainBounds {
    std::int32_t depth = 3;           // levels unfolded below the explained value
    std::int32_t maxChildren = 1000;  // cells listed under one cell
    std::int32_t maxCells = 10000;    // cells of the tree, beside the way to an origin
    std::int32_t maxWay = 1000;       // levels of the way to an origin
    std::size_t maxText = 1000;       // bytes of a name, formula or value
    // Asked before each question to the kernel: true ends the unfolding.
    std::function<bool()> stopped = [] { return false; };
};

// What explaining asks about cells: the kernel's Explanation in the tool
// (KernelCells), a fixed set of cells in tests.
class ExplainedCells {
  public:
    virtual ~ExplainedCells() = default;
    // The cell the expression names, if it names one.
    virtual std::optional<CellPlace> cellNamed(const std::string& expression) = 0;
    virtual CellFacts facts(const CellPlace& place) = 0;
    virtual Cause cause(const CellPlace& place) = 0;
    virtual std::vector<CellFacts> precedents(const CellPlace& place, std::int32_t maxCells) = 0;
    virtual Explanation::ExpressionFacts expression(const std::string& text,
                                                    std::int32_t maxCells) = 0;
};

class KernelCells final : public ExplainedCells {
  public:
    explicit KernelCells(Explanation& explanation) : m_explanation(explanation) {}

    std::optional<CellPlace> cellNamed(const std::string& expression) override;
    CellFacts facts(const CellPlace& place) override { return m_explanation.facts(place); }
    Cause cause(const CellPlace& place) override { return m_explanation.cause(place); }
    std::vector<CellFacts> precedents(const CellPlace& place, std::int32_t maxCells) override;
    Explanation::ExpressionFacts expression(const std::string& text,
                                            std::int32_t maxCells) override;

  private:
    Explanation& m_explanation;
};

// Explains `expression`: the cell it names, or else the expression as
// `qvl eval` computes it. Throws the kernel's messages.
ExplainReport explain(ExplainedCells& cells, const std::string& expression,
                      const ExplainBounds& bounds);

// The text, or its first bytes (at most `maxBytes`, whole UTF-8 characters)
// followed by "...".
std::string cutText(std::string_view text, std::size_t maxBytes);

}  // namespace qv::cli
