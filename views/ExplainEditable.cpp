#include "views/ExplainEditable.h"

#include <algorithm>
#include <utility>

#include "core/FitText.h"
#include "core/Number.h"
#include "core/ValueConversions.h"
#include "editing/EditableSupport.h"
#include "editing/ScrollDecorator.h"
#include "editing/TitleDecorator.h"
#include "kernel/ValueKinds.h"
#include "views/FoldableLines.h"
#include "views/InnerViewEditable.h"
#include "views/PropertiesEditable.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

constexpr std::int32_t kColumnGap = 8;
// Where the formula and value columns start, in hundredths of the width.
constexpr std::int32_t kFormulaColumn = 46;
constexpr std::int32_t kValueColumn = 74;
// The room a name keeps however deep its line: past it, deeper lines
// indent no further, so fold boxes never run into the formula column.
constexpr std::int32_t kNameRoom = 80;
constexpr std::int32_t kBoxGap = 6;

std::string valueText(const Pointer<Object>& value) {
    return value.isNull() ? std::string() : toText(value)->toStdString();
}

std::string text(const StringPointer& string) {
    return string.isNull() ? std::string() : string->toStdString();
}

bool isError(const CellFacts& facts) {
    return !facts.value.isNull() && valueKind(*facts.value.object()) == ValueKind::Error;
}

// The grid a selection stands for: a frame for its view, a view showing
// another for the one it shows.
Pointer<TableEditable> gridOf(Pointer<AbstractEditable> editable) {
    for (;;) {
        if (auto frame = cast<TitleDecorator>(editable); !frame.isNull()) {
            editable = frame->view();
        } else if (auto shows = cast<InnerViewEditable>(editable);
                   !shows.isNull() && !shows->innerView().isNull()) {
            editable = shows->innerView();
        } else {
            return cast<TableEditable>(editable);
        }
    }
}

}  // namespace

ExplainEditable::ExplainEditable(ViewHost& host) : m_host(&host) {
    m_tree.clear();
    m_tree.useStopFlag(host.explainStop());
}

std::int32_t ExplainEditable::lineHeight() const {
    return support() == nullptr ? 18 : support()->plainMetrics().height() + 2;
}

// ---- what the lines show

std::int32_t ExplainEditable::headerLines() const {
    if (m_tree.isEmpty()) return 1;
    return m_tree.cause().kind == Cause::Kind::None ? 4 : 5;
}

std::int32_t ExplainEditable::lineCount() const {
    if (m_tree.isEmpty()) return 1;
    return headerLines() + m_tree.lineCount() + 1 +
           static_cast<std::int32_t>(m_tree.dependents().size()) + (m_tree.dependentsCut() ? 1 : 0);
}

ExplainEditable::LineInfo ExplainEditable::lineInfo(std::int32_t line) const {
    if (m_tree.isEmpty()) return {LineKind::Hint, 0};
    bool cause = m_tree.cause().kind != Cause::Kind::None;
    std::int32_t headers = headerLines();
    if (line < headers) {
        if (line < 3) return {static_cast<LineKind>(static_cast<int>(LineKind::Name) + line), 0};
        if (line == 3 && cause) return {LineKind::Cause, 0};
        return {LineKind::Precedents, 0};
    }
    line -= headers;
    if (line < m_tree.lineCount()) return {LineKind::Precedent, line};
    line -= m_tree.lineCount();
    if (line == 0) return {LineKind::Dependents, 0};
    if (line > static_cast<std::int32_t>(m_tree.dependents().size()))
        return {LineKind::MoreDependents, 0};
    return {LineKind::Dependent, line - 1};
}

const CellFacts* ExplainEditable::factsOf(std::int32_t line) const {
    if (line < 0 || line >= lineCount()) return nullptr;
    LineInfo info = lineInfo(line);
    if (info.kind == LineKind::Precedent) return &m_tree.line(info.index).node->facts;
    if (info.kind == LineKind::Dependent)
        return &m_tree.dependents()[static_cast<std::size_t>(info.index)];
    return nullptr;
}

std::string ExplainEditable::lineText(std::int32_t line) const {
    const CellFacts& subject = m_tree.subject();
    switch (lineInfo(line).kind) {
        case LineKind::Hint:
            return "Select a cell of a table to explain it.";
        case LineKind::Name:
            return text(subject.name);
        case LineKind::Formula:
            return "Formula: " + text(subject.formula);
        case LineKind::Value:
            return "Value: " + valueText(subject.value);
        case LineKind::Cause:
            return text(m_tree.cause().text);
        case LineKind::Precedents:
            return m_tree.lineCount() == 0 ? "Read no cells" : "Read the cells";
        case LineKind::Dependents: {
            std::size_t count = m_tree.dependents().size();
            if (count == 0)
                return m_tree.dependentsCut() ? "Read by no cells found" : "Read by no cells";
            return "Read by " + std::to_string(count) + (m_tree.dependentsCut() ? " or more" : "") +
                   (count == 1 ? " cell" : " cells");
        }
        case LineKind::MoreDependents:
            return kMoreDependents;
        case LineKind::Precedent:
        case LineKind::Dependent:
            break;
    }
    const CellFacts& facts = *factsOf(line);
    return text(facts.name) + " | " + text(facts.formula) + " | " + valueText(facts.value);
}

// ---- following the selection

bool ExplainEditable::holds(const AbstractEditable& editable) const {
    return isWithinView(*this, editable);
}

void ExplainEditable::explain(const CellPlace& place) {
    Pointer<Kernel> kernel = m_host->viewKernel();
    // Another cell is read from its top; the same one, explained again
    // after a change, keeps its place.
    if (place != m_place) {
        if (auto* box = dynamic_cast<ScrollDecorator*>(parent())) box->scrollTo({0, 0});
    }
    m_place = place;
    m_kernel = kernel.get();
    m_changeCount = kernel.isNull() ? -1 : kernel->getChangeCount();
    m_tree.explain(kernel, place);
    // Following the selection must not scroll the work area to this view:
    // the origin is brought into sight by this view's own box alone.
    m_current = m_tree.focusLine() >= 0 ? headerLines() + m_tree.focusLine() : -1;
    m_showCurrent = m_current >= 0;
    for (std::int32_t line = headerLines(); m_current < 0 && line < lineCount(); ++line) {
        if (names(line)) m_current = line;
    }
    invalidateLayout();
    repaint();
}

void ExplainEditable::followSelection(const Pointer<AbstractEditable>& selected) {
    if (selected.isNull() || holds(*selected)) return;
    Pointer<TableEditable> grid = gridOf(selected);
    if (grid.isNull()) return;
    std::optional<CellPlace> place = grid->currentPlace();
    if (!place) return;
    Pointer<Kernel> kernel = m_host->viewKernel();
    bool same = *place == m_place && kernel.get() == m_kernel &&
                (kernel.isNull() || kernel->getChangeCount() == m_changeCount);
    if (!same) explain(*place);
}

void ExplainEditable::refresh() {
    Pointer<Kernel> kernel = m_host->viewKernel();
    if (!m_place.isCell()) return;
    if (kernel.get() == m_kernel && !kernel.isNull() && kernel->getChangeCount() == m_changeCount)
        return;
    explain(m_place);
}

void ExplainEditable::notify(const Pointer<Object>& message) {
    if (auto seek = cast<ExplainViewSeek>(message); !seek.isNull()) seek->setFound();
    auto selection = cast<SelectionMessage>(message);
    if (!selection.isNull()) followSelection(selection->selected());
}

void ExplainEditable::writeSource(std::string& out, std::int32_t) const {
    out += "explain();\n";
}

// ---- lines and actions

void ExplainEditable::selectLine(std::int32_t line) {
    if (!names(line)) {
        // The first line below that names a cell, if any.
        for (std::int32_t at = std::max(line, 0); at < lineCount(); ++at) {
            if (names(at)) return selectLine(at);
        }
        m_current = -1;
        return;
    }
    m_current = line;
    toolkit::Rect shown = lineRect(line);
    // The last reader brings the note that the list is not whole with it.
    if (line + 1 < lineCount() && lineInfo(line + 1).kind == LineKind::MoreDependents)
        shown.height += lineHeight();
    ensureVisible(shown);
    repaint();
}

void ExplainEditable::toggle(std::int32_t line) {
    if (line < 0 || line >= lineCount()) return;
    LineInfo info = lineInfo(line);
    if (info.kind != LineKind::Precedent) return;
    m_tree.toggle(info.index);
    m_current = line;
    invalidateLayout();
    repaint();
}

void ExplainEditable::goTo(std::int32_t line) {
    const CellFacts* facts = factsOf(line);
    if (facts == nullptr || !facts->place.isCell()) return;
    CellPlace place = facts->place;
    m_host->goToCell(place);
}

toolkit::Rect ExplainEditable::lineRect(std::int32_t line) const {
    return {bounds().x, bounds().y + kPadding + line * lineHeight(), bounds().width, lineHeight()};
}

toolkit::Rect ExplainEditable::boxRect(std::int32_t line) const {
    toolkit::Rect row = lineRect(line);
    std::int32_t depth = 0;
    LineInfo info = lineInfo(line);
    if (info.kind == LineKind::Precedent) depth = m_tree.line(info.index).depth;
    std::int32_t room =
        row.width * kFormulaColumn / 100 - kColumnGap - kNameRoom - kBoxGap - kBoxSide - kPadding;
    depth = std::min(depth, std::max(room, 0) / kIndent);
    return {row.x + kPadding + depth * kIndent, row.y + (row.height - kBoxSide) / 2, kBoxSide,
            kBoxSide};
}

std::int32_t ExplainEditable::lineAt(toolkit::Point point) const {
    if (!bounds().contains(point) || point.y < bounds().y + kPadding) return -1;
    std::int32_t line = (point.y - bounds().y - kPadding) / lineHeight();
    return line < lineCount() ? line : -1;
}

// ---- layout and events

// As tall as all its lines: the frame shows kPreferredLines of them and
// scrolls the rest.
void ExplainEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t width = std::clamp(std::min(widthHint, kPreferredWidth), kNarrowest, kWidest);
    std::int64_t all = std::int64_t{lineCount()} * lineHeight() + 2 * kPadding;
    setBounds({0, 0, width, toolkit::limitExtent(all)});
}

std::int32_t ExplainEditable::tallestUnscrolled() const {
    return kPreferredLines * lineHeight() + 2 * kPadding;
}

std::optional<toolkit::Rect> ExplainEditable::takeAreaToShow() {
    bool wanted = std::exchange(m_showCurrent, false);
    if (!wanted || m_current < 0 || m_current >= lineCount()) return std::nullopt;
    return lineRect(m_current);
}

void ExplainEditable::layoutSize(toolkit::Size size) {
    std::int64_t all = std::int64_t{lineCount()} * lineHeight() + 2 * kPadding;
    setBounds(
        {0, 0, std::max(size.width, kNarrowest), std::max(size.height, toolkit::limitExtent(all))});
}

bool ExplainEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    if (!foldable::isLinePress(kind)) return false;
    if (support() != nullptr) support()->select(self());
    std::int32_t line = lineAt(info.point());
    if (line < 0 || !names(line)) return true;
    bool tree = lineInfo(line).kind == LineKind::Precedent;
    if (kind == MouseKind::Press && tree && boxRect(line).contains(info.point())) {
        toggle(line);
        return true;
    }
    selectLine(line);
    if (kind == MouseKind::DoubleClick) goTo(line);
    return true;
}

void ExplainEditable::handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    using foldable::LineKey;
    if (m_current < 0) return childKey(code, text, modifiers);
    bool tree = lineInfo(m_current).kind == LineKind::Precedent;
    auto step = [&](std::int32_t from, std::int32_t by) {
        for (std::int32_t at = from + by; at >= 0 && at < lineCount(); at += by) {
            if (names(at)) return selectLine(at);
        }
    };
    switch (foldable::lineKeyOf(code, text)) {
        case LineKey::Previous:
            return step(m_current, -1);
        case LineKey::Next:
            return step(m_current, 1);
        case LineKey::First:
            return step(-1, 1);
        case LineKey::Last:
            return step(lineCount(), -1);
        case LineKey::Unfold:
            if (tree && !m_tree.line(lineInfo(m_current).index).node->unfolded)
                return toggle(m_current);
            return step(m_current, 1);
        case LineKey::Fold:
            if (tree && m_tree.line(lineInfo(m_current).index).node->unfolded)
                return toggle(m_current);
            if (tree) {
                std::int32_t parent = m_tree.parentLine(lineInfo(m_current).index);
                if (parent >= 0) return selectLine(headerLines() + parent);
            }
            return;
        case LineKey::Act:
            return goTo(m_current);
        case LineKey::Toggle:
            return toggle(m_current);
        case LineKey::None:
            break;
    }
    childKey(code, text, modifiers);
}

// ---- painting

void ExplainEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    if (support() == nullptr) return;
    foldable::paintLinesInSight(graphics, colors(), bounds().translated(origin.x, origin.y),
                                kPadding, lineHeight(), lineCount(),
                                [&](std::int32_t line) { paintLine(graphics, line, origin); });
}

void ExplainEditable::paintLine(toolkit::Graphics& graphics, std::int32_t line,
                                toolkit::Point origin) const {
    toolkit::Rect row = lineRect(line).translated(origin.x, origin.y);
    std::int32_t baseline = foldable::baselineIn(row, support()->plainMetrics());
    LineInfo info = lineInfo(line);
    if (line == m_current) foldable::paintCurrentLine(graphics, colors(), row, isFocused());
    const CellFacts* facts = factsOf(line);
    if (facts == nullptr) {
        bool heading = info.kind == LineKind::Name || info.kind == LineKind::Precedents ||
                       info.kind == LineKind::Dependents;
        graphics.setFont(heading ? support()->boldFont() : support()->plainFont());
        bool error = info.kind == LineKind::Cause ||
                     (info.kind == LineKind::Value && isError(m_tree.subject()));
        bool quiet = info.kind == LineKind::Hint || info.kind == LineKind::MoreDependents;
        graphics.setColor(error ? colors().errorText : quiet ? colors().quietText : colors().text);
        // A line too wide (a long formula) ends in a mark, as the columns do.
        const toolkit::FontMetrics& font =
            heading ? support()->boldMetrics() : support()->plainMetrics();
        TextWidth width = [&font](std::string_view part) { return font.textWidth(part); };
        toolkit::GraphicsScope clipped(graphics, row);
        graphics.drawText({row.x + kPadding, baseline},
                          fitText(lineText(line), row.width - 2 * kPadding, width));
        return;
    }
    graphics.setFont(support()->plainFont());
    std::int32_t textLeft = row.x + kPadding;
    if (info.kind == LineKind::Precedent) {
        toolkit::Rect box = boxRect(line).translated(origin.x, origin.y);
        foldable::paintFoldBox(graphics, colors(), box, m_tree.line(info.index).node->unfolded);
        textLeft = box.right() + kBoxGap;
    }
    paintCells(graphics, row, textLeft, *facts);
}

// The name, the formula and the value, each cut at the next column.
void ExplainEditable::paintCells(toolkit::Graphics& graphics, const toolkit::Rect& row,
                                 std::int32_t textLeft, const CellFacts& facts) const {
    const toolkit::FontMetrics& metrics = support()->plainMetrics();
    std::int32_t baseline = foldable::baselineIn(row, metrics);
    std::int32_t formulaX = row.x + row.width * kFormulaColumn / 100;
    std::int32_t valueX = row.x + row.width * kValueColumn / 100;
    TextWidth width = [&metrics](std::string_view part) { return metrics.textWidth(part); };
    // A text too wide ends in a mark; a number is rounded, never cut.
    auto column = [&](std::int32_t left, std::int32_t right, const std::string& shown,
                      toolkit::Color color, const Pointer<Object>& value) {
        if (right - left <= 0) return;
        std::string fitted = shown;
        if (metrics.textWidth(shown) > right - left) {
            fitted = is<Double>(value)
                         ? fitNumber(static_cast<const Double&>(*value.object()).value(),
                                     right - left, width)
                         : fitText(shown, right - left, width);
        }
        toolkit::GraphicsScope clipped(graphics, {left, row.y, right - left, row.height});
        graphics.setColor(color);
        graphics.drawText({left, baseline}, fitted);
    };
    column(textLeft, formulaX - kColumnGap, text(facts.name), colors().text, {});
    column(formulaX, valueX - kColumnGap, text(facts.formula), colors().quietText, {});
    column(valueX, row.right() - kPadding, valueText(facts.value),
           isError(facts) ? colors().errorText : colors().text, facts.value);
}

}  // namespace qv
