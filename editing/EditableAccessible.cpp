#include "editing/EditableAccessible.h"

#include <algorithm>

#include "editing/EditableSupport.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/FormulaTextFieldEditable.h"
#include "editing/LayoutTableEditable.h"
#include "editing/StandInContainer.h"
#include "editing/TextBase.h"
#include "editing/TitleDecorator.h"

namespace qv {

namespace {

const FloatLayoutEditable* layoutRootOf(const EditableSupport& support) {
    const Pointer<AbstractEditable>& root = support.layoutRoot();
    if (root.isNull()) return nullptr;
    return dynamic_cast<const FloatLayoutEditable*>(root.get());
}

// A child's node made with `parent` above it, seen through wrappers: a
// wrapper answers its child's node, which then stands where it stands.
AccessibleNodePointer childNode(const AbstractEditable& editable,
                                const AccessibleNodePointer& parent) {
    return editable.accessibleNode(parent);
}

}  // namespace

toolkit::Rect shownBounds(const AbstractEditable& editable) {
    toolkit::Rect shown = editable.bounds();
    for (const AbstractEditable* at = editable.parent(); at != nullptr; at = at->parent()) {
        if (const auto* container = dynamic_cast<const StandInContainer*>(at)) {
            toolkit::Point offset = container->contentOffset();
            shown.x -= offset.x;
            shown.y -= offset.y;
        }
        if (const auto* root = dynamic_cast<const FloatLayoutEditable*>(at)) {
            const Pointer<AbstractEditable>& bar = root->formulaBar();
            bool inBar = false;
            for (const AbstractEditable* in = &editable; in != nullptr; in = in->parent())
                inBar = inBar || (!bar.isNull() && in == bar.get());
            if (!inBar) {
                toolkit::Point offset = root->scrolling().offset();
                shown.x -= offset.x;
                shown.y -= offset.y;
            }
            break;
        }
    }
    return shown;
}

bool isInTree(const AbstractEditable& editable) {
    const AbstractEditable* top = &editable;
    while (top->parent() != nullptr)
        top = top->parent();
    EditableSupport* support = editable.support();
    return support != nullptr && !support->layoutRoot().isNull() &&
           support->layoutRoot().get() == top;
}

EditableNode::EditableNode(const AbstractEditable& editable, AccessibleNodePointer parent,
                           toolkit::AccessibleRole role)
    : m_editable(const_cast<AbstractEditable*>(&editable)),
      m_parent(std::move(parent)),
      m_role(role) {}

std::string EditableNode::name() const {
    StringPointer title = m_editable->getTitle();
    return title.isNull() ? std::string() : title->toStdString();
}

ContainerNode::ContainerNode(const AbstractEditable& editable, AccessibleNodePointer parent,
                             toolkit::AccessibleRole role,
                             std::vector<Pointer<AbstractEditable>> children, std::string name)
    : EditableNode(editable, std::move(parent), role),
      m_children(std::move(children)),
      m_name(std::move(name)) {}

std::string ContainerNode::name() const {
    return m_name.empty() ? EditableNode::name() : m_name;
}

AccessibleNodePointer ContainerNode::child(std::int32_t index) const {
    if (index < 0 || index >= childCount()) return {};
    return childNode(*m_children[static_cast<std::size_t>(index)], self());
}

TextNode::TextNode(const TextBase& text, AccessibleNodePointer parent, std::string name,
                   bool editable)
    : EditableNode(
          text, std::move(parent),
          editable ? toolkit::AccessibleRole::EditableText : toolkit::AccessibleRole::Text),
      m_name(std::move(name)),
      m_editable(editable) {}

std::string TextNode::value() const {
    return std::string(static_cast<const TextBase&>(editable()).text());
}

std::int32_t TextNode::caret() const {
    return static_cast<const TextBase&>(editable()).caret();
}

WorkAreaNode::WorkAreaNode(const EditableSupport& support) : m_support(&support) {}

toolkit::Rect WorkAreaNode::bounds() const {
    if (m_support == nullptr) return {};
    const FloatLayoutEditable* root = layoutRootOf(*m_support);
    if (root == nullptr) return {};
    const toolkit::Rect& all = root->bounds();
    return {0, 0, all.x + all.width, all.y + all.height};
}

std::vector<Pointer<AbstractEditable>> WorkAreaNode::children() const {
    std::vector<Pointer<AbstractEditable>> children;
    if (m_support == nullptr) return {};
    const FloatLayoutEditable* root = layoutRootOf(*m_support);
    if (root == nullptr) return children;
    if (!root->formulaBar().isNull()) children.push_back(root->formulaBar());
    for (std::int32_t index = 0; index < root->frameCount(); ++index)
        children.push_back(root->frame(index));
    return children;
}

std::int32_t WorkAreaNode::childCount() const {
    return static_cast<std::int32_t>(children().size());
}

AccessibleNodePointer WorkAreaNode::child(std::int32_t index) const {
    std::vector<Pointer<AbstractEditable>> all = children();
    if (index < 0 || index >= static_cast<std::int32_t>(all.size())) return {};
    return childNode(*all[static_cast<std::size_t>(index)],
                     std::const_pointer_cast<WorkAreaNode>(shared_from_this()));
}

AccessibleNodePointer WorkAreaNode::nodeOf(const AbstractEditable& editable) const {
    std::vector<const AbstractEditable*> chain;
    for (const AbstractEditable* at = &editable; at != nullptr; at = at->parent())
        chain.push_back(at);
    if (m_support == nullptr || m_support->layoutRoot().isNull() ||
        chain.back() != m_support->layoutRoot().get())
        return {};
    AccessibleNodePointer node = std::const_pointer_cast<WorkAreaNode>(shared_from_this());
    // Down from the root: a wrapper answers the node of what it wraps,
    // which its child then answers again; the level is taken once.
    for (auto at = chain.rbegin() + 1; at != chain.rend(); ++at) {
        AccessibleNodePointer next = (*at)->accessibleNode(node);
        if (next && !(next->key() == node->key())) node = std::move(next);
    }
    return node;
}

AccessibleNodePointer WorkAreaNode::focusNode() const {
    if (m_support == nullptr) return {};
    const AbstractEditable* selected = m_support->selectedEditable();
    if (selected == nullptr) return {};
    AccessibleNodePointer node = nodeOf(*selected);
    if (!node) return node;
    if (AccessibleNodePointer inner = node->focusedChild()) return inner;
    return node;
}

AccessibleNodePointer WorkAreaNode::focusedChild() const {
    return focusNode();
}

AccessibilityTracker::AccessibilityTracker(const EditableSupport& support)
    : m_root(std::make_shared<WorkAreaNode>(support)), m_support(support) {
    support.window().setAccessibleRoot(m_root);
}

AccessibilityTracker::~AccessibilityTracker() {
    m_root->m_support = nullptr;
}

void AccessibilityTracker::update() {
    std::vector<const void*> children;
    for (std::int32_t index = 0, count = m_root->childCount(); index < count; ++index) {
        if (AccessibleNodePointer child = m_root->child(index))
            children.push_back(child->key().element);
    }
    toolkit::Window& window = m_support.window();
    if (children != m_children) {
        m_children = std::move(children);
        window.accessibleChanged(toolkit::AccessibleChange::Structure, m_root);
    }
    AccessibleNodePointer focus = m_root->focusNode();
    toolkit::AccessibleKey key = focus ? focus->key() : m_root->key();
    std::string value = focus ? focus->value() : std::string();
    if (!(key == m_focus)) {
        m_focus = key;
        m_focusValue = std::move(value);
        window.accessibleChanged(toolkit::AccessibleChange::Focus, focus ? focus : m_root);
    } else if (focus && value != m_focusValue) {
        m_focusValue = std::move(value);
        window.accessibleChanged(toolkit::AccessibleChange::Value, focus);
    }
}

// How each kind of editable of the framework shows itself: here rather
// than beside each class, so the classes need not know the nodes.

std::shared_ptr<toolkit::AccessibleNode> AbstractEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    return std::make_shared<EditableNode>(*this, parent, toolkit::AccessibleRole::Group);
}

std::shared_ptr<toolkit::AccessibleNode> TitleDecorator::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    return std::make_shared<ContainerNode>(*this, parent, toolkit::AccessibleRole::Frame,
                                           std::vector<Pointer<AbstractEditable>>{view()});
}

std::shared_ptr<toolkit::AccessibleNode> LayoutTableEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    std::vector<Pointer<AbstractEditable>> frames;
    for (std::int32_t row = 0; row < m_rowCount; ++row) {
        for (std::int32_t column = 0; column < m_columnCount; ++column) {
            Pointer<AbstractEditable> cell = cellAt(row, column);
            if (!cell.isNull()) frames.push_back(std::move(cell));
        }
    }
    return std::make_shared<ContainerNode>(*this, parent, toolkit::AccessibleRole::Group,
                                           std::move(frames));
}

std::shared_ptr<toolkit::AccessibleNode> TextBase::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    StringPointer title = getTitle();
    return std::make_shared<TextNode>(*this, parent, title.isNull() ? "" : title->toStdString(),
                                      true);
}

std::shared_ptr<toolkit::AccessibleNode> FormulaTextFieldEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    return std::make_shared<TextNode>(*this, parent, "Formula", true);
}

}  // namespace qv
