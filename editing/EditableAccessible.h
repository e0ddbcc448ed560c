// The nodes through which screen readers see the work area (see
// toolkit/Accessible.h): the work area itself, a node per frame, view and
// text, each standing for its editable and answering from it when asked.
// The tracker tells the window what changed after each paint: the focus
// (the selected editable, a grid's current cell), the focused node's value,
// and the frames that came or went.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Pointer.h"
#include "editing/AbstractEditable.h"
#include "editing/EditableSupport.h"
#include "toolkit/Accessible.h"

namespace qv {

class TextBase;

using AccessibleNodePointer = std::shared_ptr<toolkit::AccessibleNode>;

// Where an editable shows in the window's work area: its bounds less the
// scrolling of the boxes around it and of the work area (which the formula
// bar does not follow).
toolkit::Rect shownBounds(const AbstractEditable& editable);

// Whether the editable is still part of its window's tree (a closed frame
// is not, though an undo step may keep it for later).
bool isInTree(const AbstractEditable& editable);

// A node standing for one editable, named by its title. It holds the
// editable, so a reader that keeps the node never reaches freed memory; it
// is no longer alive once the editable has left the window's tree.
class EditableNode : public toolkit::AccessibleNode,
                     public std::enable_shared_from_this<EditableNode> {
  public:
    EditableNode(const AbstractEditable& editable, AccessibleNodePointer parent,
                 toolkit::AccessibleRole role);

    toolkit::AccessibleKey key() const override { return {m_editable.get(), -1, -1}; }
    toolkit::AccessibleRole role() const override { return m_role; }
    std::string name() const override;
    toolkit::Rect bounds() const override { return shownBounds(*m_editable); }
    bool isAlive() const override { return isInTree(*m_editable); }
    bool isFocused() const override { return m_editable->isFocused(); }
    AccessibleNodePointer parent() const override { return m_parent; }

  protected:
    const AbstractEditable& editable() const noexcept { return *m_editable; }
    AccessibleNodePointer self() const {
        return std::const_pointer_cast<EditableNode>(shared_from_this());
    }

  private:
    Pointer<AbstractEditable> m_editable;
    AccessibleNodePointer m_parent;
    toolkit::AccessibleRole m_role;
};

// A node whose children are other editables' nodes (a frame's view, the
// frames of a layout table).
class ContainerNode final : public EditableNode {
  public:
    ContainerNode(const AbstractEditable& editable, AccessibleNodePointer parent,
                  toolkit::AccessibleRole role, std::vector<Pointer<AbstractEditable>> children,
                  std::string name = {});
    // The given name, else the editable's title.
    std::string name() const override;
    std::int32_t childCount() const override {
        return static_cast<std::int32_t>(m_children.size());
    }
    AccessibleNodePointer child(std::int32_t index) const override;

  private:
    std::vector<Pointer<AbstractEditable>> m_children;
    std::string m_name;
};

// A text: its content as value, its caret, editable or only read.
class TextNode final : public EditableNode {
  public:
    TextNode(const TextBase& text, AccessibleNodePointer parent, std::string name, bool editable);
    std::string name() const override { return m_name; }
    std::string value() const override;
    std::int32_t caret() const override;
    bool isEditable() const override { return m_editable; }

  private:
    std::string m_name;
    bool m_editable;
};

// The root: the formula bar, then the frames in stacking order.
class WorkAreaNode final : public toolkit::AccessibleNode,
                           public std::enable_shared_from_this<WorkAreaNode> {
  public:
    static constexpr const char* kName = "Work area";

    explicit WorkAreaNode(const EditableSupport& support);
    toolkit::AccessibleKey key() const override { return {m_support, -1, -1}; }
    toolkit::AccessibleRole role() const override { return toolkit::AccessibleRole::WorkArea; }
    std::string name() const override { return kName; }
    toolkit::Rect bounds() const override;
    AccessibleNodePointer parent() const override { return {}; }
    std::int32_t childCount() const override;
    AccessibleNodePointer child(std::int32_t index) const override;
    AccessibleNodePointer focusedChild() const override;
    // The node of an editable of the tree, with its containers' nodes
    // above it; null when it is not in the tree.
    AccessibleNodePointer nodeOf(const AbstractEditable& editable) const;
    // What has the keyboard: the selected editable's node, or the current
    // cell inside it; null when nothing is selected.
    AccessibleNodePointer focusNode() const;

  private:
    std::vector<Pointer<AbstractEditable>> children() const;

    // Cleared when the work area goes: a reader may keep the root longer
    // than the panel lives, and then finds it empty.
    const EditableSupport* m_support;
    friend class AccessibilityTracker;
};

// Tells the window what changed since the last time it was asked.
class AccessibilityTracker {
  public:
    explicit AccessibilityTracker(const EditableSupport& support);
    ~AccessibilityTracker();
    AccessibilityTracker(const AccessibilityTracker&) = delete;
    AccessibilityTracker& operator=(const AccessibilityTracker&) = delete;
    const std::shared_ptr<WorkAreaNode>& root() const noexcept { return m_root; }
    // After a paint: the window hears of a new focus, a new value of the
    // focused node and frames that came or went.
    void update();

  private:
    std::shared_ptr<WorkAreaNode> m_root;
    const EditableSupport& m_support;
    toolkit::AccessibleKey m_focus;
    std::string m_focusValue;
    std::vector<const void*> m_children;
};

}  // namespace qv
