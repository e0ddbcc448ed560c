// The grid element: draws a grid model's cells (only the visible part, so a
// table of a million records costs what a small one does), scrolls, keeps a
// selected cell and a selected range of columns, moves by keys, edits the
// selected cell through the formula bar, resizes columns by their header
// border and toggles Boolean cells by a click. Model edits are undoable
// commands of the window's command manager.
//
// Scrolling is by whole columns and rows: the grid remembers the first
// column and row shown after the frozen ones, so finding what to draw never
// walks the columns scrolled past. The only per-column state is the widths
// the user changed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editing/AbstractEditable.h"
#include "editing/ScrollDecorator.h"
#include "kernel/CellPlace.h"
#include "views/ColumnResize.h"
#include "views/GridController.h"
#include "views/GridModel.h"
#include "views/GridPage.h"
#include "views/GridScroll.h"
#include "views/GridSelection.h"
#include "views/GridTyping.h"

namespace qv {

class FormulaValueEditable;
class ModelEditor;
class TableEditable;

// Passed down the work area to find a grid that shows a cell: the first
// grid that does keeps itself and the position in the message.
class CellSeekMessage final : public Object {
    QV_OBJECT(CellSeekMessage, Object, "CellSeekMessage")
  public:
    explicit CellSeekMessage(const CellPlace& place) : m_place(place) {}
    const CellPlace& place() const noexcept { return m_place; }
    const Pointer<TableEditable>& grid() const noexcept { return m_grid; }
    std::int32_t column() const noexcept { return m_column; }
    std::int32_t row() const noexcept { return m_row; }
    void found(Pointer<TableEditable> grid, std::int32_t column, std::int32_t row) {
        m_grid = std::move(grid);
        m_column = column;
        m_row = row;
    }

  private:
    CellPlace m_place;
    Pointer<TableEditable> m_grid;
    std::int32_t m_column = 0;
    std::int32_t m_row = 0;
};

class TableEditable final : public AbstractEditable {
    QV_OBJECT(TableEditable, AbstractEditable, "TableEditable")
  public:
    // Scroll bars as every scrolling view of the work area draws them.
    static constexpr std::int32_t kBarWidth = ScrollDecorator::kBarWidth;
    static constexpr std::int32_t kSmallestThumb = ScrollDecorator::kSmallestThumb;
    static constexpr std::int32_t kPadding = 3;
    // How far the frozen columns widen to fit their texts.
    static constexpr std::int32_t kFittedRows = 1000;
    static constexpr std::int32_t kWidestFitted = 200;
    // How near a header border the pointer grips it for resizing.
    static constexpr std::int32_t kResizeGrip = 3;
    static constexpr std::int32_t kSmallestColumn = ColumnResize::kSmallestColumn;
    // Rows one notch of the wheel scrolls.
    static constexpr std::int32_t kWheelRows = 3;
    // The largest size the grid asks for when it may choose (an optimized
    // frame); beyond it, it scrolls.
    static constexpr std::int32_t kPreferredWidth = 1000;
    static constexpr std::int32_t kPreferredHeight = 400;

    explicit TableEditable(const Pointer<GridModel>& model);
    ~TableEditable() override;

    const Pointer<GridModel>& model() const noexcept { return m_model; }
    // Hands a recomputed value to the model; the view keeps its scroll
    // position and selection where they still exist. False when the model
    // cannot show the value (the caller builds another view).
    bool acceptValue(const Pointer<Object>& value);

    // The selected cell, as a grid position.
    std::int32_t currentColumn() const noexcept { return m_selection.column(); }
    std::int32_t currentRow() const noexcept { return m_selection.row(); }
    // Selects the cell (clamped to the grid), scrolls it into sight and
    // shows its text in the formula bar. Clears a column range.
    void selectCell(std::int32_t column, std::int32_t row);
    // The same for a grid that is not the focused one (a view following
    // another's selection): the formula bar keeps showing the focused cell.
    void placeCursor(std::int32_t column, std::int32_t row);
    // The cell of the results the selected position shows (its value or
    // its formula); nullopt where it shows none.
    std::optional<CellPlace> currentPlace() const;
    // The current cell and the range of columns selected, if any.
    const GridSelection& selection() const noexcept { return m_selection; }
    // The selected range of columns; nullopt when a single cell is selected.
    std::optional<std::pair<std::int32_t, std::int32_t>> selectedColumns() const;
    void selectColumns(std::int32_t first, std::int32_t last);

    // Told when the user activates a line; the null object for none.
    void setController(const Pointer<GridController>& controller) { m_controller = controller; }
    const Pointer<GridController>& controller() const noexcept { return m_controller; }

    // The first column and row shown after the frozen ones.
    std::int32_t leftColumn() const noexcept { return m_scroll.left(); }
    std::int32_t topRow() const noexcept { return m_scroll.top(); }
    // Clamped to what the grid's size allows.
    void scrollTo(std::int32_t column, std::int32_t row);

    // A column's width: the user's where they resized it, else the model's.
    std::int32_t columnWidth(std::int32_t column) const;
    void setColumnWidth(std::int32_t column, std::int32_t width);
    std::int32_t rowHeight() const;
    // Where a cell is drawn (layout coordinates); empty when not in sight.
    toolkit::Rect cellRect(std::int32_t column, std::int32_t row) const;
    // The text shown in the cell being edited, while it is.
    const std::optional<std::string>& typing() const noexcept { return m_typing.text(); }

    // Paints a printed page's cells with their top left corner at
    // `corner`: the frozen header rows and leading columns, then the rows
    // and columns of `page`, as the screen draws them but without the
    // selection, the typing and the scroll bars. The scroll position stays.
    void paintPage(toolkit::Graphics& graphics, toolkit::Point corner, const GridPage& page);

    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    std::int32_t minimumWidth() const override;
    std::int32_t maximumWidth() const override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    bool handleWheel(std::int32_t steps) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    bool acceptsEditCommand(std::int32_t code) const override;
    Pointer<Object> getObject() const override { return m_model; }
    // A table of the model's cells, each made when a reader asks for it.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    StringPointer getTitle() const override;
    // Answers a CellSeekMessage.
    void notify(const Pointer<Object>& message) override;
    // The properties the model offers for the view.
    Pointer<Object> getProperties() override;
    // Whether the formula bar edits a cell of this grid now.
    bool isEditingHere() const;
    // Writes a name into one of this grid's name cells as typing it there
    // would (previewed as a rename, refused, or taken as typed): the door
    // other views (the properties view) open onto the same edit.
    void editName(const Pointer<CellModel>& cell, const StringPointer& text);

  private:
    friend class GridEditedCell;

    // What the current size shows: the scroll bars, the frozen extent and
    // how far the grid can scroll. Cheap: it walks only what fits.
    struct Extent {
        std::int32_t columns = 0;
        std::int32_t rows = 0;
        std::int32_t leading = 0;  // frozen columns
        std::int32_t headers = 0;  // frozen rows
        std::int32_t frozenWidth = 0;
        std::int32_t frozenHeight = 0;
        bool verticalBar = false;
        bool horizontalBar = false;
        toolkit::Rect content;  // the cells' area, relative to the bounds
        std::int32_t maxLeft = 0;
        std::int32_t maxTop = 0;
        std::int32_t pageRows = 1;  // scrolled rows that fit
    };
    Extent extent() const;
    // Columns from `first` on that fit in `width` (at least one).
    std::int32_t columnsFitting(std::int32_t first, std::int32_t width) const;
    // The grid's own size, each direction limited.
    toolkit::Size naturalSize(std::int32_t widthLimit, std::int32_t heightLimit) const;
    void clampScroll(const Extent& extent);
    // Scrolls the current cell into sight, and asks the containers above.
    void revealCurrent();
    // The position under a point relative to the bounds, inside the cells.
    std::optional<std::pair<std::int32_t, std::int32_t>> cellAt(toolkit::Point local) const;
    // The column whose right border lies under a point of a header row.
    std::optional<std::int32_t> borderAt(toolkit::Point local) const;
    void fitLeadingColumns();

    // Painting.
    void paintCells(toolkit::Graphics& graphics, toolkit::Point corner, const Extent& extent);
    // `visibleRight` is where the cells' area ends: a cell reaching past it
    // fits its text to what is in sight.
    void paintCell(toolkit::Graphics& graphics, const toolkit::Rect& rect,
                   std::int32_t visibleRight, std::int32_t column, std::int32_t row,
                   const Extent& extent);
    void paintBars(toolkit::Graphics& graphics, toolkit::Point corner, const Extent& extent) const;
    toolkit::Rect barRect(bool vertical, const Extent& extent) const;
    ScrollGeometry geometry(bool vertical, const Extent& extent) const;

    // Mouse.
    void press(toolkit::MouseKind kind, const MouseInfo& info);
    bool pressBar(toolkit::Point local, const Extent& extent);
    void dragThumb(toolkit::Point local);
    void pressCell(std::int32_t column, std::int32_t row, std::uint32_t modifiers);
    void endResize();

    // Keys.
    void move(std::int32_t dColumn, std::int32_t dRow);
    bool handleMoveKey(std::int32_t code, std::uint32_t modifiers);

    // Editing.
    FormulaValueEditable* formulaBar() const;
    // The cell an edit at a position writes to; null when none there.
    Pointer<CellModel> editTarget(std::int32_t column, std::int32_t row) const;
    void startEditing(std::optional<std::string_view> typed);
    void commitPending();
    void showCurrentFormula();
    // Runs an edit of the model through the model editor as one undoable
    // step; a refused edit's message goes to the user.
    void runEdit(std::string_view name, const std::function<void(ModelEditor&)>& change);
    // A new or cleared name goes to the application first (a rename of its
    // uses, a warning); true when it took the edit.
    bool offerNameEdit(std::string_view name, const Pointer<CellModel>& target,
                       const StringPointer& text);
    void clearCurrent();
    void toggleBoolean(std::int32_t column, std::int32_t row);
    // Writes a cell's text as one undoable step.
    void editCellText(std::string_view name, std::int32_t column, std::int32_t row,
                      const Pointer<CellModel>& target, const StringPointer& text);

    // Clipboard.
    void copy();
    void cut();
    void paste();

    Pointer<GridModel> m_model;
    Pointer<GridController> m_controller;
    GridSelection m_selection;
    GridScroll m_scroll;
    ColumnResize m_resize;
    // The frozen leading columns (field names) widened to their texts at
    // the last layout, so names are not cut by a narrow model width.
    std::vector<std::int32_t> m_fittedLeading;
    GridTyping m_typing;
    // While a page is printed: the cells show no selection and no typing.
    bool m_printing = false;
    // The window's colours, or paper's while printing.
    const toolkit::Palette& cellColors() const noexcept;
};

}  // namespace qv
