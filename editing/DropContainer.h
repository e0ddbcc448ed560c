// The containers a view is detached from and dropped into: the layout root,
// a frame and its scrolled area (which pass the calls on to what they hold)
// and a layout table. Other editables hold no views; the functions below
// the class answer for them as an empty container would (nothing to
// detach, no place to drop, no panel), so a caller asks any editable
// without a case of its own.
#pragma once

#include <cstdint>

#include "editing/AbstractEditable.h"
#include "editing/Positions.h"

namespace qv {

class DropContainer {
  public:
    // Removes the editable from this container's subtree; the place it
    // had, or the null object when it is not there.
    virtual Pointer<AbstractPosition> detach(const Pointer<AbstractEditable>& editable) = 0;
    // Puts the editable back at a place this container answered before.
    virtual bool drop(const Pointer<AbstractEditable>& editable,
                      const Pointer<AbstractPosition>& position) = 0;
    // Where a view dragged to (x, y) would go; accepting puts it there.
    virtual Pointer<AbstractPosition> dropPositionAt(std::int32_t x, std::int32_t y,
                                                     const Pointer<AbstractEditable>& editable) = 0;
    // Marks where a view dragged to (x, y) would go; false when nowhere here.
    virtual bool showDropTarget(std::int32_t, std::int32_t, const AbstractEditable&) {
        return false;
    }
    virtual void hideDropTarget() {}
    // How many layout tables nest in this container, itself included.
    virtual std::int32_t panelDepth() const { return 0; }
    // A layout table, or a frame or scrolled area holding one.
    virtual bool isPanel() const { return false; }

  protected:
    ~DropContainer() = default;
};

Pointer<AbstractPosition> detachFrom(AbstractEditable& container,
                                     const Pointer<AbstractEditable>& editable);
bool dropInto(AbstractEditable& container, const Pointer<AbstractEditable>& editable,
              const Pointer<AbstractPosition>& position);
Pointer<AbstractPosition> dropPositionIn(AbstractEditable& container, std::int32_t x,
                                         std::int32_t y, const Pointer<AbstractEditable>& editable);
bool showDropTargetIn(AbstractEditable& container, std::int32_t x, std::int32_t y,
                      const AbstractEditable& dragged);
void hideDropTargetIn(AbstractEditable& container);
std::int32_t panelDepthOf(const AbstractEditable& editable);
bool isPanelView(const AbstractEditable& editable);

}  // namespace qv
