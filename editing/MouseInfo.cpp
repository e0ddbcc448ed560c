#include "editing/MouseInfo.h"

#include <algorithm>

namespace qv {

void MouseInfo::update(toolkit::MouseKind kind, toolkit::Point pointer, std::uint32_t modifierBits,
                       const toolkit::Rect& confinement) {
    using toolkit::MouseKind;
    if (kind == MouseKind::Drag && !confinement.isEmpty()) {
        pointer.x = std::clamp(pointer.x, confinement.x, confinement.right() - 1);
        pointer.y = std::clamp(pointer.y, confinement.y, confinement.bottom() - 1);
    }
    dx = pointer.x - x;
    dy = pointer.y - y;
    x = pointer.x;
    y = pointer.y;
    modifiers = modifierBits;
    if (kind == MouseKind::Press || kind == MouseKind::DoubleClick ||
        kind == MouseKind::RightPress) {
        dragX = x;
        dragY = y;
    }
    dragDx = x - dragX;
    dragDy = y - dragY;
}

MouseInfo MouseInfo::shifted(std::int32_t ox, std::int32_t oy) const noexcept {
    MouseInfo info = *this;
    info.x += ox;
    info.y += oy;
    info.dragX += ox;
    info.dragY += oy;
    return info;
}

std::string MouseInfo::describe() const {
    return "x=" + std::to_string(x) + ",y=" + std::to_string(y) + ",dx=" + std::to_string(dx) +
           ",dy=" + std::to_string(dy) + ",drag_x=" + std::to_string(dragX) +
           ",drag_y=" + std::to_string(dragY) + ",drag_dx=" + std::to_string(dragDx) +
           ",drag_dy=" + std::to_string(dragDy);
}

}  // namespace qv
