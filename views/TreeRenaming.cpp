// Renaming a table or a field from the tables tree: F2 hands the node's
// name to the formula bar, the line shows the name as it is typed, Enter
// offers the new name to the application as a name typed into a grid's
// name cell is (previewed, refused, or renamed with every use), Escape
// leaves it as it was.
#include <algorithm>

#include "editing/EditableSupport.h"
#include "editing/EditedFormulaCell.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/FormulaValueEditable.h"
#include "views/FoldableLines.h"
#include "views/NameEditRequest.h"
#include "views/TreeEditable.h"

namespace qv {

namespace {

FormulaValueEditable* formulaBarOf(const EditableSupport* support) {
    if (support == nullptr) return nullptr;
    auto root = cast<FloatLayoutEditable>(support->layoutRoot());
    if (root.isNull()) return nullptr;
    auto bar = cast<FormulaValueEditable>(root->formulaBar());
    return bar.isNull() ? nullptr : bar.get();
}

}  // namespace

// The node whose name the formula bar edits, kept by name: the tree may be
// rebuilt while the name is typed.
class TreeEditedName final : public EditedFormulaCell {
    QV_OBJECT(TreeEditedName, EditedFormulaCell, "TreeEditedName")
  public:
    TreeEditedName(Pointer<TreeEditable> tree, std::string target, std::string name)
        : m_tree(std::move(tree)), m_target(std::move(target)), m_name(std::move(name)) {}

    std::string formulaText() const override { return m_name; }
    void commitFormula(std::string_view text) override {
        m_tree->m_typing.end();
        m_tree->commitRename(m_target, m_name, text);
        m_tree->repaint();
    }
    void cancelEditing() override {
        m_tree->m_typing.end();
        m_tree->repaint();
    }
    void showTyping(std::string_view text) override {
        m_tree->m_typing.show(text);
        m_tree->repaint();
    }
    void selectCell() override {
        if (m_tree->support() != nullptr) m_tree->support()->select(m_tree);
    }
    // Enter ends the edit only: it must not also open the node's table.
    void cellKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        if (code >= 0 && code != toolkit::key::kEnter) m_tree->handleKey(code, text, modifiers);
    }

  private:
    Pointer<TreeEditable> m_tree;
    std::string m_target;
    std::string m_name;
};

void TreeEditable::startRenaming() {
    FormulaValueEditable* bar = formulaBarOf(support());
    std::string name = m_model->currentName(m_current);
    if (bar == nullptr || name.empty()) return;
    m_renamed = m_current;
    ensureVisible(lineRect(m_current));
    bar->startEditing(
        make<TreeEditedName>(Pointer<TreeEditable>(this), m_model->nameTarget(m_current), name));
    m_typing.show(bar->field()->text());
    support()->select(bar->field());
    repaint();
}

// An empty name or the same name changes nothing: a tree line never
// clears a name (the grid's name cell does, with its warning).
void TreeEditable::commitRename(const std::string& target, const std::string& name,
                                std::string_view text) {
    std::string typed = str(text)->trim()->toStdString();
    if (support() == nullptr || typed.empty() || typed == name) return;
    support()->offerRequest(make<NameEditRequest>(target, typed, nullptr));
}

void TreeEditable::paintTyping(toolkit::Graphics& graphics, const toolkit::Rect& row,
                               std::int32_t textLeft) const {
    const toolkit::FontMetrics& metrics = support()->plainMetrics();
    const std::string& typed = *m_typing.text();
    std::int32_t width = std::max(metrics.textWidth(typed) + 8, 60);
    toolkit::Rect box{textLeft - 3, row.y + 1, std::min(width, row.right() - textLeft + 2),
                      row.height - 2};
    graphics.setColor(colors().typing);
    graphics.fillRect(box);
    graphics.setColor(colors().accent);
    graphics.drawRect(box);
    toolkit::GraphicsScope clip(graphics, box);
    graphics.setColor(colors().text);
    graphics.drawText({textLeft, foldable::baselineIn(row, metrics)}, typed);
}

}  // namespace qv
