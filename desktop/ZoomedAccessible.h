// The accessible nodes of a zoomed work area: each stands for a node of the
// work area and answers as it does, with its bounds scaled into the
// window's pixels, and wraps the nodes it hands out in turn.
#pragma once

#include <memory>

#include "desktop/WorkAreaZoom.h"
#include "toolkit/Accessible.h"

namespace qv {

// Null for null. The node follows the zoom as it changes.
std::shared_ptr<toolkit::AccessibleNode> zoomedNode(std::shared_ptr<toolkit::AccessibleNode> node,
                                                    std::shared_ptr<const WorkAreaZoom> zoom);

}  // namespace qv
