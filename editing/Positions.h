// Places in the tree: what a container answers when an editable is detached
// from it or dropped on it, and what it takes back to put the editable
// there again. Commands keep them to undo and redo moves.
#pragma once

#include <cstdint>
#include <optional>

#include "editing/AbstractEditable.h"
#include "editing/FrameState.h"

namespace qv {

class AbstractPosition : public Object {
    QV_ABSTRACT_OBJECT(AbstractPosition, Object)
  public:
    // The container that answered the position and takes drops at it.
    virtual Pointer<AbstractEditable> container() const = 0;
    // True only for a place in the work area itself.
    virtual bool isFloat() const { return false; }
};

// A place on the layout root: the frame's top-left corner, its place in the
// stacking order (-1: on top) and, when known, its placement.
class FloatLayoutPosition final : public AbstractPosition {
    QV_OBJECT(FloatLayoutPosition, AbstractPosition, "FloatLayoutPosition")
  public:
    FloatLayoutPosition(const Pointer<AbstractEditable>& root, toolkit::Point point,
                        std::int32_t stackIndex = -1, std::optional<FrameState> state = {});

    Pointer<AbstractEditable> container() const override { return m_root; }
    bool isFloat() const override { return true; }
    toolkit::Point point() const noexcept { return m_point; }
    std::int32_t stackIndex() const noexcept { return m_stackIndex; }
    const std::optional<FrameState>& state() const noexcept { return m_state; }

    StringPointer describe() const override;

  private:
    Pointer<AbstractEditable> m_root;
    toolkit::Point m_point;
    std::int32_t m_stackIndex;
    std::optional<FrameState> m_state;
};

// The layout root as its frames see it: where one of them stands now. A
// frame finds it by a checked cast of the support's root, which keeps the
// frame's source free of the root's.
class FramePlaces {
  public:
    virtual Pointer<FloatLayoutPosition> positionOf(
        const Pointer<AbstractEditable>& frame) const = 0;

  protected:
    ~FramePlaces() = default;
};

// A slot of a container with numbered places (a split pane's sides).
class EditablePosition final : public AbstractPosition {
    QV_OBJECT(EditablePosition, AbstractPosition, "EditablePosition")
  public:
    EditablePosition(const Pointer<AbstractEditable>& container, std::int32_t slot)
        : m_container(container), m_slot(slot) {}

    Pointer<AbstractEditable> container() const override { return m_container; }
    std::int32_t slot() const noexcept { return m_slot; }

    StringPointer describe() const override;

  private:
    Pointer<AbstractEditable> m_container;
    std::int32_t m_slot;
};

}  // namespace qv
