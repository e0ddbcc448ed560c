// A container that stands in for the one child it shows (a frame, a
// scrolled area, the formula bar): while it is selected its child counts as
// focused (a text shows its caret while its frame is selected), and it may
// show the child shifted. The few containers that do so derive from this;
// the protocol of every editable stays free of it and asks by a checked cast.
#pragma once

#include "toolkit/Geometry.h"

namespace qv {

class StandInContainer {
  public:
    // The shift applied to the child's coordinates (a scroll offset).
    virtual toolkit::Point contentOffset() const { return {}; }

  protected:
    ~StandInContainer() = default;
};

}  // namespace qv
