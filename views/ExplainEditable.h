// The explain view: the selected grid cell's name, formula and value (with
// the cause of an error), the tree of the cells its value read, unfolded
// on demand, and the list of the cells that read it. It follows the
// selection as the properties view does; a double click or Enter on a
// line goes to that cell. Only the lines in sight are drawn.
#pragma once

#include <cstdint>
#include <optional>

#include "editing/AbstractEditable.h"
#include "views/ExplainTree.h"
#include "views/ViewHost.h"

namespace qv {

// Passed down the work area: whether an explain view is in it.
class ExplainViewSeek final : public Object {
    QV_OBJECT(ExplainViewSeek, Object, "ExplainViewSeek")
  public:
    bool found() const noexcept { return m_found; }
    void setFound() noexcept { m_found = true; }

  private:
    bool m_found = false;
};

class ExplainEditable final : public AbstractEditable {
    QV_OBJECT(ExplainEditable, AbstractEditable, "ExplainEditable")
  public:
    static constexpr std::int32_t kPadding = 4;
    static constexpr std::int32_t kIndent = 16;
    static constexpr std::int32_t kBoxSide = 9;
    static constexpr std::int32_t kNarrowest = 240;
    static constexpr std::int32_t kWidest = 640;
    static constexpr std::int32_t kPreferredWidth = 420;
    // The last line of the readers list when the search for them stopped
    // early.
    static constexpr const char* kMoreDependents =
        "More cells may read it: the search stopped early.";
    // The most lines the view asks room for; beyond them the frame scrolls.
    static constexpr std::int32_t kPreferredLines = 24;

    // What a line of the view shows.
    enum class LineKind : std::uint8_t {
        Hint,            // nothing is explained yet
        Name,            // the cell's name
        Formula,         // "Formula: ..."
        Value,           // "Value: ..."
        Cause,           // the cause of an error
        Precedents,      // the heading of the tree
        Precedent,       // a line of the tree
        Dependents,      // the heading of the list
        Dependent,       // a line of the list
        MoreDependents,  // the list's last line when the search stopped early
    };
    struct LineInfo {
        LineKind kind = LineKind::Hint;
        // Precedent: the tree's line; Dependent: the list's index.
        std::int32_t index = 0;
    };

    // `host` gives the kernel and goes to cells; it must outlive the view.
    explicit ExplainEditable(ViewHost& host);

    const ExplainTree& tree() const noexcept { return m_tree; }
    // Explains that cell now, even when it is the one shown.
    void explain(const CellPlace& place);
    // Explains the cell selected in a grid, unless the selection lies
    // inside this view or names no cell of a table.
    void followSelection(const Pointer<AbstractEditable>& selected);

    std::int32_t lineCount() const;
    LineInfo lineInfo(std::int32_t line) const;
    // The text of a line as drawn, its columns separated by " | ".
    std::string lineText(std::int32_t line) const;
    std::int32_t currentLine() const noexcept { return m_current; }
    // Moves to a line that names a cell (a precedent or a dependent).
    void selectLine(std::int32_t line);
    // Unfolds or folds a precedent's line.
    void toggle(std::int32_t line);
    // Selects the cell a line names in a view of its table.
    void goTo(std::int32_t line);

    std::int32_t lineAt(toolkit::Point point) const;
    toolkit::Rect lineRect(std::int32_t line) const;
    toolkit::Rect boxRect(std::int32_t line) const;

    // The program changed: the same cell is explained again.
    void refresh() override;
    void notify(const Pointer<Object>& message) override;
    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    std::int32_t minimumWidth() const override { return kNarrowest; }
    std::int32_t maximumWidth() const override { return kWidest; }
    std::int32_t tallestUnscrolled() const override;
    std::optional<toolkit::Rect> takeAreaToShow() override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    StringPointer getTitle() const override { return str("Explain"); }
    void writeSource(std::string& out, std::int32_t indent) const override;

  private:
    std::int32_t lineHeight() const;
    std::int32_t headerLines() const;
    const CellFacts* factsOf(std::int32_t line) const;
    bool names(std::int32_t line) const { return factsOf(line) != nullptr; }
    void paintLine(toolkit::Graphics& graphics, std::int32_t line, toolkit::Point origin) const;
    void paintCells(toolkit::Graphics& graphics, const toolkit::Rect& row, std::int32_t textLeft,
                    const CellFacts& facts) const;
    bool holds(const AbstractEditable& editable) const;

    ViewHost* m_host;
    ExplainTree m_tree;
    // The cell shown and the results it was explained in.
    CellPlace m_place;
    const Kernel* m_kernel = nullptr;
    std::int32_t m_changeCount = -1;
    std::int32_t m_current = -1;
    // An error's path was just opened: its box brings the current line
    // into sight once laid out.
    bool m_showCurrent = false;
};

}  // namespace qv
