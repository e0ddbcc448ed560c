// What a chart view draws: its trajectories, each with the name the legend
// shows, its title and the text the document stores for it.
#pragma once

#include <vector>

#include "core/String.h"
#include "functions/Trajectory2D.h"

namespace qv {

struct ChartSeries {
    StringPointer name;
    Pointer<Trajectory2D> trajectory;
};

class ChartModel : public Object {
    QV_ABSTRACT_OBJECT(ChartModel, Object)
  public:
    virtual StringPointer textForm() const = 0;
    virtual StringPointer title() const = 0;
    // Built again on every request: the values may have been recomputed.
    virtual std::vector<ChartSeries> trajectories() const = 0;
};

}  // namespace qv
