#include "editing/DropContainer.h"

namespace qv {

namespace {

DropContainer* containerOf(AbstractEditable& editable) {
    return dynamic_cast<DropContainer*>(&editable);
}

}  // namespace

Pointer<AbstractPosition> detachFrom(AbstractEditable& container,
                                     const Pointer<AbstractEditable>& editable) {
    DropContainer* found = containerOf(container);
    return found == nullptr ? Pointer<AbstractPosition>() : found->detach(editable);
}

bool dropInto(AbstractEditable& container, const Pointer<AbstractEditable>& editable,
              const Pointer<AbstractPosition>& position) {
    DropContainer* found = containerOf(container);
    return found != nullptr && found->drop(editable, position);
}

Pointer<AbstractPosition> dropPositionIn(AbstractEditable& container, std::int32_t x,
                                         std::int32_t y,
                                         const Pointer<AbstractEditable>& editable) {
    DropContainer* found = containerOf(container);
    return found == nullptr ? Pointer<AbstractPosition>() : found->dropPositionAt(x, y, editable);
}

bool showDropTargetIn(AbstractEditable& container, std::int32_t x, std::int32_t y,
                      const AbstractEditable& dragged) {
    DropContainer* found = containerOf(container);
    return found != nullptr && found->showDropTarget(x, y, dragged);
}

void hideDropTargetIn(AbstractEditable& container) {
    if (DropContainer* found = containerOf(container)) found->hideDropTarget();
}

std::int32_t panelDepthOf(const AbstractEditable& editable) {
    const auto* found = dynamic_cast<const DropContainer*>(&editable);
    return found == nullptr ? 0 : found->panelDepth();
}

bool isPanelView(const AbstractEditable& editable) {
    const auto* found = dynamic_cast<const DropContainer*>(&editable);
    return found != nullptr && found->isPanel();
}

}  // namespace qv
