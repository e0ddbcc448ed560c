// The accessible nodes of a zoomed work area: each stands for a node of the
// work area and answers as it does, with its bounds scaled into the
// window's pixels, and wraps the nodes it hands out in turn.
#pragma once

#include <memory>

#include "desktop/WorkAreaZoom.h"
#include "toolkit/Accessible.h"

namespace qv {

// Null for null. The zoom must outlive the node (the zoomed window takes
// its root back from the window when it goes).
std::shared_ptr<toolkit::AccessibleNode> zoomedNode(std::shared_ptr<toolkit::AccessibleNode> node,
                                                    const WorkAreaZoom& zoom);

}  // namespace qv
