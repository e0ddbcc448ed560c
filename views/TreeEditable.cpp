#include "views/TreeEditable.h"

#include <algorithm>

#include "editing/EditableSupport.h"
#include "views/FoldableLines.h"

namespace qv {

TreeEditable::TreeEditable(const Pointer<TablesTreeModel>& model) : m_model(model) {}

std::int32_t TreeEditable::lineHeight() const {
    return support() == nullptr ? 18 : support()->plainMetrics().height() + 2;
}

std::int32_t TreeEditable::preferredHeight() const {
    return toolkit::limitExtent(std::int64_t{std::max(1, m_model->lineCount())} * lineHeight() +
                                2 * kPadding);
}

std::int32_t TreeEditable::maximumWidth() const {
    std::int32_t widest = 0;
    if (support() != nullptr) {
        for (const TreeNode& node : m_model->lines()) {
            widest = std::max(widest, node.depth * kIndent + kBoxSide + 6 +
                                          support()->plainMetrics().textWidth(node.text));
        }
    }
    return std::clamp(widest + 2 * kPadding, kNarrowest, kWidest);
}

void TreeEditable::layoutWidth(std::int32_t widthHint) {
    setBounds({0, 0, std::clamp(widthHint, minimumWidth(), maximumWidth()), preferredHeight()});
}

void TreeEditable::layoutSize(toolkit::Size size) {
    setBounds(
        {0, 0, std::max(size.width, minimumWidth()), std::max(size.height, preferredHeight())});
}

void TreeEditable::refresh() {
    m_model->rebuild();
    m_current = std::clamp(m_current, 0, std::max(0, m_model->lineCount() - 1));
    invalidateLayout();
    repaint();
}

toolkit::Rect TreeEditable::lineRect(std::int32_t line) const {
    return {bounds().x, bounds().y + kPadding + line * lineHeight(), bounds().width, lineHeight()};
}

toolkit::Rect TreeEditable::boxRect(std::int32_t line) const {
    toolkit::Rect row = lineRect(line);
    std::int32_t depth = m_model->lines()[static_cast<std::size_t>(line)].depth;
    return {row.x + kPadding + depth * kIndent, row.y + (row.height - kBoxSide) / 2, kBoxSide,
            kBoxSide};
}

std::int32_t TreeEditable::lineAt(toolkit::Point point) const {
    if (!bounds().contains(point)) return -1;
    std::int32_t line = (point.y - bounds().y - kPadding) / lineHeight();
    if (point.y < bounds().y + kPadding || line >= m_model->lineCount()) return -1;
    return line;
}

void TreeEditable::selectLine(std::int32_t line) {
    if (line < 0 || line >= m_model->lineCount()) return;
    m_current = line;
    ensureVisible(lineRect(line));
    repaint();
}

void TreeEditable::toggle(std::int32_t line) {
    if (line < 0 || line >= m_model->lineCount()) return;
    const TreeNode& node = m_model->lines()[static_cast<std::size_t>(line)];
    if (!node.expandable) return;
    m_model->setExpanded(line, !node.expanded);
    m_current = line;
    invalidateLayout();
    repaint();
}

void TreeEditable::navigateTo(std::int32_t table) {
    selectLine(m_model->lineOfTable(table));
}

void TreeEditable::act(std::int32_t line) {
    if (line < 0 || line >= m_model->lineCount() || m_controller.isNull()) return;
    toolkit::Rect row = lineRect(line);
    // Beside the node's text, in the work area's coordinates.
    toolkit::Point shift = layoutPoint({0, 0});
    toolkit::Point at{row.x + kPadding + 40 - shift.x, row.bottom() - shift.y};
    m_controller->nodeAction(*this, line, at);
}

bool TreeEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    if (!foldable::isLinePress(kind)) return false;
    if (support() != nullptr) support()->select(self());
    std::int32_t line = lineAt(info.point());
    if (line < 0) return true;
    if (kind == MouseKind::Press && boxRect(line).contains(info.point())) {
        toggle(line);
        return true;
    }
    selectLine(line);
    if (kind != MouseKind::Press) act(line);
    return true;
}

void TreeEditable::handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    using foldable::LineKey;
    std::int32_t count = m_model->lineCount();
    if (count == 0) return childKey(code, text, modifiers);
    const TreeNode& node = m_model->lines()[static_cast<std::size_t>(m_current)];
    switch (foldable::lineKeyOf(code, text)) {
        case LineKey::Previous:
            return selectLine(std::max(0, m_current - 1));
        case LineKey::Next:
            return selectLine(std::min(count - 1, m_current + 1));
        case LineKey::First:
            return selectLine(0);
        case LineKey::Last:
            return selectLine(count - 1);
        case LineKey::Unfold:
            if (node.expandable && !node.expanded) return toggle(m_current);
            return selectLine(std::min(count - 1, m_current + 1));
        case LineKey::Fold:
            if (node.expanded) return toggle(m_current);
            return selectLine(m_model->parentLine(m_current));
        case LineKey::Act:
            return act(m_current);
        case LineKey::Toggle:
            return toggle(m_current);
        case LineKey::None:
            break;
    }
    if (code == toolkit::key::kF2) return startRenaming();
    childKey(code, text, modifiers);
}

void TreeEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    if (support() == nullptr) return;
    graphics.setFont(support()->plainFont());
    foldable::paintLinesInSight(graphics, colors(), bounds().translated(origin.x, origin.y),
                                kPadding, lineHeight(), m_model->lineCount(),
                                [&](std::int32_t line) { paintLine(graphics, line, origin); });
}

void TreeEditable::paintLine(toolkit::Graphics& graphics, std::int32_t line,
                             toolkit::Point origin) const {
    const TreeNode& node = m_model->lines()[static_cast<std::size_t>(line)];
    toolkit::Rect row = lineRect(line).translated(origin.x, origin.y);
    if (line == m_current) foldable::paintCurrentLine(graphics, colors(), row, isFocused());
    toolkit::Rect box = boxRect(line).translated(origin.x, origin.y);
    if (node.expandable) foldable::paintFoldBox(graphics, colors(), box, node.expanded);
    graphics.setColor(node.kind == TreeNode::Kind::MoreRows ? colors().edge : colors().text);
    if (line == renamedLine()) return paintTyping(graphics, row, box.right() + 6);
    graphics.drawText({box.right() + 6, foldable::baselineIn(row, support()->plainMetrics())},
                      node.text);
}

}  // namespace qv
